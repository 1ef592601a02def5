#include "cli/output_target.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane::cli {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kStandardOutput = "-";
// How messages name the program then: "The program on standard output is created."
constexpr std::string_view kStandardOutputName = "the program on standard output";

// A new folder only this process uses, so no other file of that name can be read or replaced.
fs::path make_staging_folder() {
    std::random_device seed;
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error)
        throw Error("No folder for temporary files: " + error.message());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = base / ("ostrivane-cli-" + std::to_string(seed()));
        if (fs::create_directory(folder, error))
            return folder;
        if (error)
            break;
    }
    throw Error("Cannot create a temporary folder in " + base.string() +
                (error ? ": " + error.message() : std::string()));
}

}  // namespace

OutputTarget::OutputTarget(std::optional<std::string> output) {
    if (!output)
        return;
    if (*output != kStandardOutput) {
        file_ = fs::path(*output);
        return;
    }
    staging_folder_ = make_staging_folder();
    file_ = staging_folder_ / "program";
}

OutputTarget::~OutputTarget() {
    if (staging_folder_.empty())
        return;
    std::error_code ignored;
    fs::remove_all(staging_folder_, ignored);
}

std::string OutputTarget::shown(std::string_view message) const {
    std::string text(message);
    if (!to_standard_output())
        return text;
    const std::string path = file_->string();
    for (std::size_t at = text.find(path); at != std::string::npos;
         at = text.find(path, at + kStandardOutputName.size())) {
        text.replace(at, path.size(), kStandardOutputName);
        if (at == 0)
            text.front() = 'T';
    }
    return text;
}

void OutputTarget::deliver() const {
    if (!to_standard_output())
        return;
    // Piece by piece: a long program need not fit in memory.
    std::FILE* in = std::fopen(file_->c_str(), "rb");
    if (in == nullptr)
        return;  // the job wrote nothing
    std::string buffer(1 << 16, '\0');
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        try {
            write_standard_output(std::string_view(buffer).substr(0, got));
        } catch (...) {
            std::fclose(in);
            throw;
        }
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed)
        throw Error("Cannot read back the program for standard output");
}

void write_standard_output(std::string_view bytes) {
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size() || std::fflush(stdout) != 0)
        throw Error("Cannot write to standard output: " + system_message(errno));
}

}  // namespace ostrivane::cli
