#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/curve/profile.h"
#include "core/curve/recorded_moves.h"
#include "core/curve/spline_points.h"
#include "core/text/message_sink.h"

namespace ostrivane {

// The most points a turning profile keeps: what the editor admits on spline 1, by mouse, key or
// import, and keeps of a spline file.
inline constexpr int kEditorPointLimit = 1000;

// What loading a spline file found.
struct ProfileLoad {
    // The file's version word; none for a file shorter than it. Only a file of the version this
    // program writes is read.
    std::optional<std::uint16_t> version;
    // Notices of sections that could not be read: the file is damaged.
    int damaged_sections = 0;
    // Points the file's profile held beyond `point_limit`, cut away after reading.
    int dropped = 0;
};

// Loads the spline file `bytes` the way the editor does: section by section into the profile,
// its fine-milling parts, the second spline and the recorded moves (each set refreshed as after
// an edit, a section that cannot start leaving its value as it was), and then cuts the profile
// to `point_limit` points, telling `notices` what it held and dropped: saving it would write the
// shorter profile over the file. The sets' notices go to their own sinks, the moves' and the
// dropped points' to `notices`.
ProfileLoad load_profile(std::string_view bytes, TBetaSPLpoints& profile, TBetaSPLpoints& spline2,
                         RecordedMoves& moves, MessageSink& notices,
                         int point_limit = kEditorPointLimit);

// The same into a whole drawing.
ProfileLoad load_profile(std::string_view bytes, Profile& drawing, MessageSink& notices,
                         int point_limit = kEditorPointLimit);

// The same for a caller that wants only the profile: the second spline and the moves are read
// and thrown away, their notices going to `notices`.
ProfileLoad load_profile(std::string_view bytes, TBetaSPLpoints& profile, MessageSink& notices,
                         int point_limit = kEditorPointLimit);

}  // namespace ostrivane
