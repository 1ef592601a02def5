#include "core/gcode/gcode_program.h"

#include <stdexcept>
#include <system_error>

#include "core/app/known_folders.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

bool is_folder(const std::string& text) {
    std::error_code ignored;
    return fs::is_directory(fs::path(text), ignored);
}

void write_header(LineSink& out, GcodeJob job) {
    out.write_line(gcode_header_comment);
    out.write_line("G21");
    if (job == GcodeJob::finger_joint) {
        out.write_line("G17 G91 G61");
        out.write_line("G28.1");
    } else {
        out.write_line("G28.1");
        out.write_line("G17 G91");
    }
    out.write_line("G43H1");
    out.write_line("T1M06");
    out.write_line("S12000 M03");
}

}  // namespace

std::string gcode_file_name(FieldSource& fields, Operator& op, std::string_view base_name,
                            const fs::path& documents_folder) {
    constexpr char separator = static_cast<char>(fs::path::preferred_separator);
    std::string folder = fields.text("GcodeFolder");
    if (!folder.empty() && folder.back() != separator) {
        folder += separator;
        fields.set_text("GcodeFolder", folder);
    }
    if (!folder.empty() && is_folder(folder))
        return folder + std::string(base_name) + ".ngc";
    std::string file = with_separator(documents_folder) + std::string(base_name) + ".ngc";
    if (!folder.empty()) {
        op.information("Path for GCode files in settings is invalid: " + folder +
                       ",now writing to: " + file);
    }
    make_documents_folder(documents_folder);
    return file;
}

void GcodeProgram::Tee::write_line(std::string_view line) {
    file->write_line(line);
    if (tap != nullptr)
        tap->write_line(line);
}

GcodeProgram::GcodeProgram(GcodeJob job, const MachineSettings& machine, Operator& op,
                           std::string file, LineWriter::Mode mode, LineSink* tap)
    : operator_(op), file_(std::move(file)), all_or_nothing_(mode == LineWriter::Mode::staged) {
    // Told once the file could be opened: a target that is refused was never going to be made.
    chain_saw_ = std::make_unique<LineWriter>(fs::path(file_), mode);
    if (job == GcodeJob::turning)
        op.information(file_ + " will be created.");
    out_.file = chain_saw_.get();
    out_.tap = tap;
    write_header(out_, job);
    // Without a tap the lines go straight to the file: one call less for each of millions.
    LineSink& lines = tap != nullptr ? static_cast<LineSink&>(out_) : *chain_saw_;
    writer_.emplace(machine, lines);
}

GcodeWriter& GcodeProgram::moves() {
    if (!chain_saw_)
        throw std::logic_error("G-code program " + file_ + " is already closed");
    return *writer_;
}

void GcodeProgram::close() {
    GcodeWriter& out = moves();
    out.move(Move::home_axis(Axis::Y, true));
    out.move(Move::home_everything());
    out.move(Move::end_program());
    chain_saw_->commit();
    chain_saw_.reset();
    if (!failed_)
        operator_.information(file_ + " is created.");
}

void GcodeProgram::close_after_error() noexcept {
    if (!chain_saw_ || !chain_saw_->open())
        return;  // never created, or already closed
    chain_saw_->abandon();
    chain_saw_.reset();
    if (all_or_nothing_)
        return;
    try {
        operator_.information(file_ + " is created.");
    } catch (...) {
        // The error that stopped the job matters more than this notice.
    }
}

void GcodeProgram::discard() noexcept {
    if (!chain_saw_ || !chain_saw_->open())
        return;
    // Nothing of the cancelled job reaches the target; an older file of that name stays.
    chain_saw_->discard();
    chain_saw_.reset();
}

std::string write_gcode_program(GcodeJob job, FieldSource& fields, Operator& op,
                                std::string_view base_name, const OutputDestination& destination,
                                const std::function<void(GcodeProgram&)>& body, LineSink* tap) {
    const MachineSettings machine = read_machine_settings(fields);
    std::string file = destination.exact_file
                           ? destination.exact_file->string()
                           : gcode_file_name(fields, op, base_name, destination.documents_folder);
    GcodeProgram program(job, machine, op, std::move(file), destination.mode(), tap);
    try {
        body(program);
        program.close();
    } catch (const JobCancelled&) {
        program.discard();
        throw JobCancelled(program.file());
    } catch (...) {
        program.close_after_error();
        throw;
    }
    return program.file();
}

}  // namespace ostrivane
