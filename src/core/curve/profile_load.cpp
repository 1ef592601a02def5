#include "core/curve/profile_load.h"

#include <string>

#include "core/curve/spline_file.h"

namespace ostrivane {

ProfileLoad load_profile(std::string_view bytes, TBetaSPLpoints& profile, TBetaSPLpoints& spline2,
                         RecordedMoves& moves, MessageSink& notices, int point_limit) {
    ProfileLoad load;
    load.version = read_spline_file(bytes, profile, spline2, moves, notices, std::nullopt,
                                    load.damaged_sections);
    // Cut after reading, so the operator learns what the file held.
    const int held = profile.Nopoints;
    if (held <= point_limit)
        return load;
    profile.limit_points(point_limit);
    load.dropped = held - point_limit;
    notices.notice("The profile in the spline file holds " + std::to_string(held) +
                       " points; the editor keeps the first " + std::to_string(point_limit) +
                       " and dropped " + std::to_string(load.dropped),
                   MessageSink::kRed, false);
    return load;
}

ProfileLoad load_profile(std::string_view bytes, Profile& drawing, MessageSink& notices,
                         int point_limit) {
    return load_profile(bytes, drawing.spline1, drawing.spline2, drawing.moves, notices,
                        point_limit);
}

ProfileLoad load_profile(std::string_view bytes, TBetaSPLpoints& profile, MessageSink& notices,
                         int point_limit) {
    TBetaSPLpoints spline2{notices};
    RecordedMoves moves;
    return load_profile(bytes, profile, spline2, moves, notices, point_limit);
}

}  // namespace ostrivane
