#pragma once
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/curve/offset_array.h"
#include "core/toolpath/main_log.h"

namespace ostrivane {

// One filled rectangle fixed to the saw (its guard, motor or fence), in mm relative to the saw
// position: x from the blade's left edge, y from its top.
struct SawRec {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    friend bool operator==(const SawRec&, const SawRec&) = default;
};

// What "saw_def.txt" adds to the drawn blade so the operator can see what else would collide
// with the work. Drawing only: no calculation reads it.
struct SawOutline {
    static constexpr int kMaxRecords = 100;
    OffsetArray<SawRec, 1, kMaxRecords> saw_rec;
    std::int32_t count_saw_rec = 0;
};

// The outline file's name in the data folder.
inline constexpr std::string_view kSawOutlineFile = "saw_def.txt";

// Reads the text of an outline file: pairs of "x;y" lines, each pair one rectangle, with lines
// holding "//" (or no ";") skipped before a pair. The second line of a pair is taken as it is;
// without a ";" it leaves the second corner at 0, and at the end of the file the first line
// serves again. Throws Error naming the line for a value that is not a number (or is beyond
// any saw, 100 m) and for more records than the outline holds.
SawOutline parse_saw_outline(std::string_view text);

// The outline of the data folder's "saw_def.txt". A missing file, or one that cannot be used,
// gives the blade alone and a critical log line saying why; this never throws, so the editor
// opens whatever the file holds.
SawOutline read_saw(const std::filesystem::path& data_folder, const MainLog& log);

}  // namespace ostrivane
