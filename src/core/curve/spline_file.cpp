#include "core/curve/spline_file.h"

#include <algorithm>

#include "core/text/error.h"

namespace ostrivane {

namespace {
constexpr std::uint16_t kPointMarker = 860;
constexpr std::size_t kPairBytes = 16;
constexpr const char* kReadError = "Error reading spline file !!!";
constexpr const char* kMovesError = "Fault while reading......";
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// Moves past up to `count` pairs, as far as the stream holds whole pairs; true when all fit.
bool skip_pairs(SplineStream& s, std::int64_t count) {
    const auto whole = static_cast<std::int64_t>(s.remaining() / kPairBytes);
    s.skip(static_cast<std::size_t>(std::min(count, whole)) * kPairBytes);
    return count <= whole;
}

void read_pair(SplineStream& s, double& first, double& second) {
    s.read_f64(first);
    s.read_f64(second);
}

// The version word; nothing when the bytes are too short to hold one.
std::optional<std::uint16_t> read_version(SplineStream& s) {
    std::uint16_t version = 0;
    if (!s.read_u16(version))
        return std::nullopt;
    return version;
}
}  // namespace

void check_spline_version(std::optional<std::uint16_t> version, std::string_view file) {
    if (!version)
        throw Error(std::string(file) + " is too short to be a spline file");
    if (*version != kSplineFileVersion) {
        throw Error(std::string(file) +
                    " is not a spline file this program reads: its version word is " +
                    std::to_string(*version) + ", not " + std::to_string(kSplineFileVersion));
    }
}

void write_points_section(SplineStream& chain_saw, const std::vector<ShapePoint>& points) {
    chain_saw.write_u16(kPointMarker);
    chain_saw.write_i32(static_cast<std::int32_t>(points.size()));
    for (const ShapePoint& p : points) {
        chain_saw.write_f64(p.x);
        chain_saw.write_f64(p.y);
    }
    for (const ShapePoint& p : points) {
        chain_saw.write_f64(p.alpha1);
        chain_saw.write_f64(p.alpha2);
    }
}

bool read_points_section(SplineStream& chain_saw, std::vector<ShapePoint>& points,
                         MessageSink& notices) {
    if (chain_saw.remaining() < 8) {
        notices.notice(kReadError);
        return false;
    }
    std::uint16_t word = 0;
    chain_saw.read_u16(word);
    // Old sections start with the count and carry no shape values.
    const bool with_shapes = word == kPointMarker;
    if (!with_shapes)
        chain_saw.seek(chain_saw.position() - 2);
    std::int32_t count = 0;
    chain_saw.read_i32(count);

    const std::size_t sections = with_shapes ? 2 : 1;
    const bool fits =
        count >= 0 && count <= BetaSpline::kMaxPoints &&
        static_cast<std::size_t>(count) * kPairBytes * sections <= chain_saw.remaining();
    points.clear();
    if (!fits) {
        // Nothing is stored; the stream moves on as far as a reader with room for every point
        // would have read, so the following sections are read from the same place.
        if (count > 0 && skip_pairs(chain_saw, count) && with_shapes)
            skip_pairs(chain_saw, count);
        notices.notice(kReadError);
        return true;
    }
    points.resize(static_cast<std::size_t>(count));
    for (ShapePoint& p : points)
        read_pair(chain_saw, p.x, p.y);
    if (with_shapes) {
        for (ShapePoint& p : points)
            read_pair(chain_saw, p.alpha1, p.alpha2);
    }
    return true;
}

void write_parts_section(SplineStream& chain_saw, const std::vector<MillingPart>& parts) {
    chain_saw.write_u16(static_cast<std::uint16_t>(parts.size()));
    for (const MillingPart& part : parts) {
        chain_saw.write_f64(part.from);
        chain_saw.write_f64(part.to);
    }
}

bool read_parts_section(SplineStream& chain_saw, std::vector<MillingPart>& parts,
                        MessageSink& notices) {
    std::uint16_t count = 0;
    if (!chain_saw.read_u16(count)) {
        notices.notice(kReadError);
        return false;
    }
    parts.clear();
    if (count > TBetaSPLpoints::kMaxParts || count * kPairBytes > chain_saw.remaining()) {
        skip_pairs(chain_saw, count);
        notices.notice(kReadError);
        return true;
    }
    parts.resize(count);
    for (MillingPart& part : parts)
        read_pair(chain_saw, part.from, part.to);
    return true;
}

void writeMoves(SplineStream& chain_saw, const RecordedMoves& moves) {
    chain_saw.write_i32(moves.Movecount);
    for (int i = 1; i <= moves.Movecount; ++i) {
        chain_saw.write_f64(moves.Movements[i].X);
        chain_saw.write_f64(moves.Movements[i].Y);
    }
}

void readMoves(SplineStream& chain_saw, RecordedMoves& moves, MessageSink& notices) {
    std::int32_t count = 0;
    if (!chain_saw.read_i32(count)) {
        notices.notice(kMovesError, kWhite, false);
        return;
    }
    if (count <= 0) {
        moves.Movecount = 0;
        return;
    }
    if (count > RecordedMoves::kMaxMoves ||
        static_cast<std::size_t>(count) * kPairBytes > chain_saw.remaining()) {
        skip_pairs(chain_saw, count);
        moves.Movecount = 0;
        notices.notice(kMovesError, kWhite, false);
        return;
    }
    for (int i = 1; i <= count; ++i)
        read_pair(chain_saw, moves.Movements[i].X, moves.Movements[i].Y);
    moves.Movecount = count;
}

void TBetaSPLpoints::write_points(SplineStream& chain_saw) const {
    write_points_section(chain_saw, shape().points);
}

void TBetaSPLpoints::read_points(SplineStream& chain_saw) {
    std::vector<ShapePoint> points;
    if (read_points_section(chain_saw, points, notices()))
        load_points(points);
}

void TBetaSPLpoints::write_parts(SplineStream& chain_saw) const {
    write_parts_section(chain_saw, shape().parts);
}

void TBetaSPLpoints::read_parts(SplineStream& chain_saw) {
    std::vector<MillingPart> parts;
    if (read_parts_section(chain_saw, parts, notices()))
        load_parts(parts);
}

void TBetaSPLpoints::limit_points(int limit) {
    if (Nopoints <= limit)
        return;
    Nopoints = std::max(limit, 0);
    refresh();
}

std::string write_spline_file(const SplineDocument& document) {
    SplineStream stream;
    stream.write_u16(kSplineFileVersion);
    write_points_section(stream, document.profile.points);
    write_parts_section(stream, document.profile.parts);
    write_points_section(stream, document.spline2.points);
    writeMoves(stream, document.moves);
    return stream.bytes();
}

std::string write_spline_file(const TBetaSPLpoints& profile, const TBetaSPLpoints& spline2,
                              const RecordedMoves& moves) {
    return write_spline_file(SplineDocument{profile.shape(), spline2.shape(), moves});
}

namespace {
// The frame every reader shares: the version word, then the four sections in file order, each
// read from wherever the one before left the stream.
template <typename Sections>
std::optional<std::uint16_t> read_sections(std::string_view bytes, Sections&& sections) {
    SplineStream stream{std::string(bytes)};
    const auto version = read_version(stream);
    if (version != kSplineFileVersion)
        return version;
    sections.profile_points(stream);
    sections.profile_parts(stream);
    sections.spline2_points(stream);
    sections.moves(stream);
    return version;
}
}  // namespace

std::optional<std::uint16_t> read_spline_file(std::string_view bytes, SplineDocument& document,
                                              MessageSink& notices,
                                              std::optional<int> profile_limit) {
    struct {
        SplineDocument& doc;
        MessageSink& notices;
        std::optional<int> limit;
        void profile_points(SplineStream& s) {
            read_points_section(s, doc.profile.points, notices);
            const auto kept =
                static_cast<std::size_t>(std::max(limit.value_or(BetaSpline::kMaxPoints), 0));
            if (doc.profile.points.size() > kept)
                doc.profile.points.resize(kept);
        }
        void profile_parts(SplineStream& s) { read_parts_section(s, doc.profile.parts, notices); }
        void spline2_points(SplineStream& s) {
            read_points_section(s, doc.spline2.points, notices);
        }
        void moves(SplineStream& s) { readMoves(s, doc.moves, notices); }
    } sections{document, notices, profile_limit};
    return read_sections(bytes, sections);
}

std::optional<std::uint16_t> read_spline_file(std::string_view bytes, TBetaSPLpoints& profile,
                                              TBetaSPLpoints& spline2, RecordedMoves& moves,
                                              MessageSink& notices,
                                              std::optional<int> profile_limit) {
    int damaged = 0;
    return read_spline_file(bytes, profile, spline2, moves, notices, profile_limit, damaged);
}

namespace {
// Passes notices on and counts them: each one tells of a section that could not be read.
class CountingSink final : public MessageSink {
  public:
    CountingSink(MessageSink& inner, int& count) : inner_(inner), count_(count) {}
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t colour, bool critical) override {
        ++count_;
        inner_.notice(text, colour, critical);
    }

  private:
    MessageSink& inner_;
    int& count_;
};

void read_points_into(SplineStream& s, TBetaSPLpoints& set, int& damaged) {
    CountingSink sink(set.notices(), damaged);
    std::vector<ShapePoint> points;
    if (read_points_section(s, points, sink))
        set.load_points(points);
}
}  // namespace

std::optional<std::uint16_t> read_spline_file(std::string_view bytes, TBetaSPLpoints& profile,
                                              TBetaSPLpoints& spline2, RecordedMoves& moves,
                                              MessageSink& notices,
                                              std::optional<int> profile_limit, int& damaged) {
    // Section by section into the sets, so that each set's notices (a failed match, say) come
    // in file order.
    struct {
        TBetaSPLpoints& profile;
        TBetaSPLpoints& spline2;
        RecordedMoves& recorded;
        MessageSink& notices;
        std::optional<int> limit;
        int& damaged;
        void profile_points(SplineStream& s) {
            read_points_into(s, profile, damaged);
            if (limit)
                profile.limit_points(*limit);
        }
        void profile_parts(SplineStream& s) {
            CountingSink sink(profile.notices(), damaged);
            std::vector<MillingPart> parts;
            if (read_parts_section(s, parts, sink))
                profile.load_parts(parts);
        }
        void spline2_points(SplineStream& s) { read_points_into(s, spline2, damaged); }
        void moves(SplineStream& s) {
            CountingSink sink(notices, damaged);
            readMoves(s, recorded, sink);
        }
    } sections{profile, spline2, moves, notices, profile_limit, damaged};
    return read_sections(bytes, sections);
}

}  // namespace ostrivane
