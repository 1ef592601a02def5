#pragma once
#include <cstdint>
#include <vector>

#include "core/gcode/move.h"

namespace ostrivane {

// Tells the passes of a turning program apart by what its moves do, so that a program read
// back (or edited by hand) can be judged pass by pass: a feed move of Y cuts along the profile
// (the fine pass), a rapid move of Y into the work is a plunge (a rough pass); a rough pass
// that feeds X between its plunges is the normal rough pass, one that only jumps from plunge to
// plunge the fast rough pass. Consecutive moves of one kind form a section; the moves between
// (positioning, dwells, returns) belong to the section they follow.
class PassTracker {
  public:
    // The section of the move, numbered from 1; 0 before the first cutting move.
    std::uint16_t section_of(const Move& move);
    // What a section turned out to be (known once the section has ended, or at the end).
    PassKind kind(std::uint16_t section) const;

  private:
    enum class Section : std::uint8_t { fine, rough };
    struct Seen {
        Section kind;
        bool feeds_between_plunges = false;
    };
    void open(Section kind);

    std::vector<Seen> sections_;  // by section - 1
    bool feed_pending_ = false;   // a feed move of X since the last plunge
};

}  // namespace ostrivane
