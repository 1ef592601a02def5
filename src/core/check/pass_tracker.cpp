#include "core/check/pass_tracker.h"

#include <limits>

namespace ostrivane {
namespace {
constexpr std::size_t kMostSections = std::numeric_limits<std::uint16_t>::max();

double along(const Move& m, Axis axis) {
    return m.moves(axis) ? m.distance[static_cast<std::size_t>(axis)] : 0.0;
}
}  // namespace

void PassTracker::open(Section kind) {
    feed_pending_ = false;
    if (sections_.size() < kMostSections)
        sections_.push_back({kind});
}

std::uint16_t PassTracker::section_of(const Move& m) {
    const double dy = along(m, Axis::Y);
    if (m.kind == MoveKind::feed && dy != 0) {
        if (sections_.empty() || sections_.back().kind != Section::fine)
            open(Section::fine);
    } else if (m.kind == MoveKind::rapid && dy > 0) {
        if (sections_.empty() || sections_.back().kind != Section::rough)
            open(Section::rough);
        if (feed_pending_)
            sections_.back().feeds_between_plunges = true;
        feed_pending_ = false;
    } else if (m.kind == MoveKind::feed && along(m, Axis::X) != 0) {
        feed_pending_ = true;
    } else if (m.kind == MoveKind::home && m.moves(Axis::Z) && !m.fast) {
        // A repeated job's move to its next copy ends in a Z return in feed mode: that feed
        // move was no step between plunges.
        feed_pending_ = false;
    }
    return static_cast<std::uint16_t>(sections_.size());
}

PassKind PassTracker::kind(std::uint16_t section) const {
    if (section == 0 || section > sections_.size())
        return PassKind::frame;
    const Seen& s = sections_[section - 1];
    if (s.kind == Section::fine)
        return PassKind::fine;
    return s.feeds_between_plunges ? PassKind::rough : PassKind::fast_rough;
}

}  // namespace ostrivane
