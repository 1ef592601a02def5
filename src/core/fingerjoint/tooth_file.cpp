#include "core/fingerjoint/tooth_file.h"

#include "core/app/known_folders.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {

void write_tooth_lines(LineSink& out, const TfastRec& job) {
    const std::int64_t teeth = round_to_int(job.number_of_cuts);
    out.write_line(std::to_string(teeth));
    for (std::int64_t k = 0; k < teeth; ++k) {
        const double pitch_offset = static_cast<double>(k) * (job.width_of_cut + job.width_of_pin);
        out.write_line(format_tooth_real(pitch_offset + job.start_positionX));
        out.write_line(format_tooth_real(pitch_offset + job.start_positionX + job.width_of_cut));
        out.write_line(format_tooth_real(job.depth_cut));
    }
}

std::optional<std::string> write_tndClick(const FieldSource& fields, Operator& op,
                                          TfastRec& fast_record,
                                          const OutputDestination& destination) {
    if (!Getdata(fields, op, fast_record))
        return std::nullopt;
    // The same bound as for the program, so a slip of the finger cannot fill the disk.
    if (fast_record.number_of_cuts > max_finger_joint_passes) {
        throw Error("The finger joint has " + format_general(fast_record.number_of_cuts) +
                    " slots; a tooth file can hold at most " +
                    format_general(max_finger_joint_passes) + ".");
    }
    const std::string file = destination.exact_file ? destination.exact_file->string()
                                                    : with_separator(destination.documents_folder) +
                                                          fields.text("mot_name") + ".tnd";
    LineWriter writer(file, destination.mode());
    write_tooth_lines(writer, fast_record);
    writer.commit();
    op.information(file + " written");
    return file;
}

}  // namespace ostrivane
