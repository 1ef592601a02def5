#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/curve/recorded_moves.h"
#include "core/curve/spline_points.h"
#include "core/curve/spline_shape.h"
#include "core/curve/spline_stream.h"
#include "core/text/message_sink.h"

namespace ostrivane {

// A spline file: the version word, the profile's points and parts, the second spline's points
// and the recorded moves, in this order.
inline constexpr std::uint16_t kSplineFileVersion = 10120;

// The largest file this program writes (full sets, full parts, full moves); a reader need not
// look at more.
inline constexpr std::size_t kMaxSplineFileBytes =
    2 + 2 * (6 + 32 * std::size_t{BetaSpline::kMaxPoints}) +
    (2 + 16 * std::size_t{TBetaSPLpoints::kMaxParts}) +
    (4 + 16 * std::size_t{RecordedMoves::kMaxMoves});

// Everything a spline file holds, as values. The second spline's parts are not stored.
struct SplineDocument {
    SplineShape profile;
    SplineShape spline2;
    RecordedMoves moves;
};

// The sections. Readers treat the bytes as hostile: a section too short to start leaves its
// value as it was; a count the program cannot hold or the bytes cannot supply is refused with a
// notice before anything is stored, leaving the value empty and the stream where a complete
// read would have stopped. Point and part notices are "Error reading spline file !!!", the moves
// notice "Fault while reading......" (in white). The point and part readers return whether
// they replaced the value (read it, or emptied it).
void write_points_section(SplineStream& chain_saw, const std::vector<ShapePoint>& points);
bool read_points_section(SplineStream& chain_saw, std::vector<ShapePoint>& points,
                         MessageSink& notices);
void write_parts_section(SplineStream& chain_saw, const std::vector<MillingPart>& parts);
bool read_parts_section(SplineStream& chain_saw, std::vector<MillingPart>& parts,
                        MessageSink& notices);
void writeMoves(SplineStream& chain_saw, const RecordedMoves& moves);
void readMoves(SplineStream& chain_saw, RecordedMoves& moves, MessageSink& notices);

// The bytes of a whole file.
std::string write_spline_file(const SplineDocument& document);
std::string write_spline_file(const TBetaSPLpoints& profile, const TBetaSPLpoints& spline2,
                              const RecordedMoves& moves);

// Refuses, with an Error naming `file`, a version word (as the readers return it) of a file
// this program does not read: one too short to hold the word, or of another version.
void check_spline_version(std::optional<std::uint16_t> version, std::string_view file);

// Reads a whole file into `document` when its version word is 10120; a file of another version
// (or shorter than the word) is ignored without a notice. Each section is read from wherever
// the one before left the stream, whatever it found. With `profile_limit` the profile keeps at
// most that many points. Returns the version word found.
std::optional<std::uint16_t> read_spline_file(std::string_view bytes, SplineDocument& document,
                                              MessageSink& notices,
                                              std::optional<int> profile_limit = std::nullopt);
// The same into the two point sets (refreshed as after an edit) and the moves; the sets'
// notices go to their own sinks, the moves' to `notices`.
std::optional<std::uint16_t> read_spline_file(std::string_view bytes, TBetaSPLpoints& profile,
                                              TBetaSPLpoints& spline2, RecordedMoves& moves,
                                              MessageSink& notices,
                                              std::optional<int> profile_limit = std::nullopt);
// The same, adding to `damaged` one for each notice of a section that could not be read.
std::optional<std::uint16_t> read_spline_file(std::string_view bytes, TBetaSPLpoints& profile,
                                              TBetaSPLpoints& spline2, RecordedMoves& moves,
                                              MessageSink& notices,
                                              std::optional<int> profile_limit, int& damaged);

}  // namespace ostrivane
