#include "core/curve/spline_file.h"

#include <algorithm>

#include "core/plot/tgrita.h"

namespace ostrivane {

namespace {
constexpr std::uint16_t kPointMarker = 860;
constexpr std::size_t kPairBytes = 16;
constexpr const char* kReadError = "Error reading spline file !!!";
constexpr const char* kMovesError = "Fault while reading......";
constexpr Argb kWhite = 0xFFFFFFFFu;

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
}  // namespace

void TBetaSPLpoints::write_points(SplineStream& chain_saw) const {
    chain_saw.write_u16(kPointMarker);
    chain_saw.write_i32(Nopoints);
    for (int k = 0; k < Nopoints; ++k) {
        chain_saw.write_f64(X.Tomatch[k]);
        chain_saw.write_f64(Y.Tomatch[k]);
    }
    for (int k = 0; k < Nopoints; ++k) {
        chain_saw.write_f64(alpha1[k]);
        chain_saw.write_f64(alpha2[k]);
    }
}

void TBetaSPLpoints::read_points(SplineStream& chain_saw) {
    if (chain_saw.remaining() < 8) {
        message(kReadError);
        return;
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
        count >= 0 && count <= kMaxPoints &&
        static_cast<std::size_t>(count) * kPairBytes * sections <= chain_saw.remaining();
    if (!fits) {
        // Nothing is stored; the stream moves on as far as a reader with room for every point
        // would have read, so the following sections are read from the same place.
        if (count > 0 && skip_pairs(chain_saw, count) && with_shapes)
            skip_pairs(chain_saw, count);
        Nopoints = 0;
        curve_changed();
        message(kReadError);
        return;
    }
    for (int k = 0; k < count; ++k)
        read_pair(chain_saw, X.Tomatch[k], Y.Tomatch[k]);
    for (int k = 0; k < count; ++k) {
        if (with_shapes) {
            read_pair(chain_saw, alpha1[k], alpha2[k]);
        } else {
            alpha1[k] = 1.0;
            alpha2[k] = 1.0;
        }
    }
    Nopoints = count;
    refresh();
}

void TBetaSPLpoints::limit_points(int limit) {
    if (Nopoints <= limit)
        return;
    Nopoints = std::max(limit, 0);
    refresh();
}

void TBetaSPLpoints::write_parts(SplineStream& chain_saw) const {
    chain_saw.write_u16(NoParts);
    for (int p = 1; p <= NoParts; ++p) {
        chain_saw.write_f64(fromX[p]);
        chain_saw.write_f64(ToX[p]);
    }
}

void TBetaSPLpoints::read_parts(SplineStream& chain_saw) {
    std::uint16_t count = 0;
    if (!chain_saw.read_u16(count)) {
        message(kReadError);
        return;
    }
    if (count > kMaxParts || count * kPairBytes > chain_saw.remaining()) {
        skip_pairs(chain_saw, count);
        NoParts = 0;
        message(kReadError);
        return;
    }
    for (int p = 1; p <= count; ++p)
        read_pair(chain_saw, fromX[p], ToX[p]);
    NoParts = count;
}

void writeMoves(SplineStream& chain_saw, const RecordedMoves& moves) {
    chain_saw.write_i32(moves.Movecount);
    for (int i = 1; i <= moves.Movecount; ++i) {
        chain_saw.write_f64(moves.Movements[i].X);
        chain_saw.write_f64(moves.Movements[i].Y);
    }
}

void readMoves(SplineStream& chain_saw, RecordedMoves& moves, Tgrita& aGrita) {
    std::int32_t count = 0;
    if (!chain_saw.read_i32(count)) {
        aGrita.GraphMessage(kMovesError, kWhite, false);
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
        aGrita.GraphMessage(kMovesError, kWhite, false);
        return;
    }
    for (int i = 1; i <= count; ++i) {
        read_pair(chain_saw, moves.Movements[i].X, moves.Movements[i].Y);
    }
    moves.Movecount = count;
}

std::string write_spline_file(const TBetaSPLpoints& profile, const TBetaSPLpoints& spline2,
                              const RecordedMoves& moves) {
    SplineStream stream;
    stream.write_u16(kSplineFileVersion);
    profile.write_points(stream);
    profile.write_parts(stream);
    spline2.write_points(stream);
    writeMoves(stream, moves);
    return stream.bytes();
}

std::optional<std::uint16_t> read_spline_file(std::string_view bytes, TBetaSPLpoints& profile,
                                              TBetaSPLpoints& spline2, RecordedMoves& moves,
                                              Tgrita& moves_grita,
                                              std::optional<int> profile_limit) {
    SplineStream stream{std::string(bytes)};
    std::uint16_t version = 0;
    if (!stream.read_u16(version))
        return std::nullopt;
    if (version != kSplineFileVersion)
        return version;
    profile.read_points(stream);
    if (profile_limit)
        profile.limit_points(*profile_limit);
    profile.read_parts(stream);
    spline2.read_points(stream);
    readMoves(stream, moves, moves_grita);
    return version;
}

}  // namespace ostrivane
