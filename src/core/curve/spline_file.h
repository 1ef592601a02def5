#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/curve/recorded_moves.h"
#include "core/curve/spline_points.h"
#include "core/curve/spline_stream.h"

namespace ostrivane {

class Tgrita;

// A spline file: the version word, the profile's points and parts, the second spline's points
// and the recorded moves, in this order.
inline constexpr std::uint16_t kSplineFileVersion = 10120;

// The moves section. readMoves reports on `aGrita` (the editor's plot surface) and refuses a
// count beyond 50 or beyond the bytes that remain, leaving no moves.
void writeMoves(SplineStream& chain_saw, const RecordedMoves& moves);
void readMoves(SplineStream& chain_saw, RecordedMoves& moves, Tgrita& aGrita);

// The bytes of a whole file.
std::string write_spline_file(const TBetaSPLpoints& profile, const TBetaSPLpoints& spline2,
                              const RecordedMoves& moves);

// Reads a whole file into the two sets and the moves when its version word is 10120; a file of
// another version (or shorter than the word) is ignored without a message. Each section is read
// from wherever the one before left the stream, whatever it found. With `profile_limit` the
// profile keeps at most that many points. Returns the version word found.
std::optional<std::uint16_t> read_spline_file(std::string_view bytes, TBetaSPLpoints& profile,
                                              TBetaSPLpoints& spline2, RecordedMoves& moves,
                                              Tgrita& moves_grita,
                                              std::optional<int> profile_limit = std::nullopt);

}  // namespace ostrivane
