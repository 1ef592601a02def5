#include "core/fingerjoint/tooth_file.h"

#include <array>
#include <cmath>
#include <system_error>

#include "core/app/known_folders.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/gcode/gcode_program.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// How often a long file looks up from its work: some 3,000 lines.
constexpr std::int64_t slots_per_pump = 1024;

// Left edge, right edge and depth of slot k (from 0), in the order the file holds them.
std::array<double, 3> slot_values(const TfastRec& job, std::int64_t k) {
    const double pitch_offset = static_cast<double>(k) * (job.width_of_cut + job.width_of_pin);
    return {pitch_offset + job.start_positionX,
            pitch_offset + job.start_positionX + job.width_of_cut, job.depth_cut};
}

}  // namespace

void write_tooth_lines(LineSink& out, const TfastRec& job, JobContext& context) {
    const std::int64_t teeth = round_to_int(job.number_of_cuts);
    out.write_line(std::to_string(teeth));
    for (std::int64_t k = 0; k < teeth; ++k) {
        if (k > 0 && k % slots_per_pump == 0) {
            context.progress(static_cast<double>(k), static_cast<double>(teeth));
            context.pump();
            if (context.cancelled())
                throw JobCancelled();
        }
        for (const double value : slot_values(job, k))
            out.write_line(format_tooth_real(value));
    }
}

void check_tooth_values(const TfastRec& job) {
    constexpr std::array<const char*, 3> names = {"left edge", "right edge", "depth"};
    const std::int64_t teeth = round_to_int(job.number_of_cuts);
    for (std::int64_t k = 0; k < teeth; ++k) {
        const auto values = slot_values(job, k);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (std::isfinite(values[i]))
                continue;
            throw Error(std::string("Cannot write an ") +
                        (std::isnan(values[i]) ? "undefined " : "infinite ") + names[i] +
                        " for slot " + std::to_string(k + 1) + ".");
        }
    }
}

std::optional<std::string> write_tndClick(const FieldSource& fields, Operator& op,
                                          TfastRec& fast_record,
                                          const OutputDestination& destination,
                                          JobContext& context) {
    if (!Getdata(fields, op, fast_record))
        return std::nullopt;
    // The same bound as for the program, so a slip of the finger cannot fill the disk.
    if (fast_record.number_of_cuts > max_finger_joint_passes) {
        throw Error("The finger joint has " + format_general(fast_record.number_of_cuts) +
                    " slots; a tooth file can hold at most " +
                    format_general(max_finger_joint_passes) + ".");
    }
    check_tooth_values(fast_record);
    std::string file;
    if (destination.exact_file) {
        file = destination.exact_file->string();
    } else {
        file = with_separator(destination.documents_folder) + fields.text("mot_name") + ".tnd";
        make_documents_folder(destination.documents_folder);
    }
    LineWriter writer(file, destination.mode());
    try {
        write_tooth_lines(writer, fast_record, context);
    } catch (const JobCancelled&) {
        // Nothing of the cancelled job reaches the target; an older file of that name stays.
        writer.discard();
        throw JobCancelled(file);
    }
    writer.commit();
    op.information(file + " written");
    return file;
}

}  // namespace ostrivane
