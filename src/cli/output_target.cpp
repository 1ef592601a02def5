#include "cli/output_target.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
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

// The staging folder as a signal handler can reach it: only system calls that are safe in a
// handler touch it there. The one object of its kind, as a process has one set of handlers.
struct StagingForSignals {
    int folder = -1;  // open for reading its entries
    std::array<char, 4096> path{};
};
StagingForSignals staging_for_signals;

constexpr std::array kEndingSignals = {SIGTERM, SIGINT, SIGHUP};

// Removes every entry of the folder, then the folder. Its entries are files this process made.
void remove_staging(const StagingForSignals& staging) noexcept {
    if (staging.folder < 0)
        return;
    alignas(8) std::array<char, 4096> buffer;
    for (int round = 0; round < 16; ++round) {
        ::lseek(staging.folder, 0, SEEK_SET);
        const long got = ::syscall(SYS_getdents64, staging.folder, buffer.data(), buffer.size());
        if (got <= 0)
            break;
        bool removed = false;
        for (long at = 0; at < got;) {
            // struct linux_dirent64: inode (8), offset (8), record length (2), type (1), name.
            unsigned short length = 0;
            std::memcpy(&length, buffer.data() + at + 16, sizeof length);
            const char* name = buffer.data() + at + 19;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
                ::unlinkat(staging.folder, name, 0);
                removed = true;
            }
            at += length;
        }
        if (!removed)
            break;
    }
    ::rmdir(staging.path.data());
}

extern "C" void end_without_staging(int signal_number) {
    remove_staging(staging_for_signals);
    // Die of the signal as the sender expects.
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

void watch_signals(const fs::path& folder) {
    const std::string path = folder.string();
    if (path.size() >= staging_for_signals.path.size())
        return;  // the folder is still removed on every ordinary end
    StagingForSignals staging;
    std::memcpy(staging.path.data(), path.c_str(), path.size() + 1);
    staging.folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    staging_for_signals = staging;
    struct sigaction action {};
    action.sa_handler = end_without_staging;
    sigemptyset(&action.sa_mask);
    for (const int s : kEndingSignals)
        sigaddset(&action.sa_mask, s);
    for (const int s : kEndingSignals)
        ::sigaction(s, &action, nullptr);
}

void stop_watching_signals() {
    for (const int s : kEndingSignals)
        std::signal(s, SIG_DFL);
    if (staging_for_signals.folder >= 0)
        ::close(staging_for_signals.folder);
    staging_for_signals = {};
}

}  // namespace

bool names_standard_output(std::string_view name) {
    return name == kStandardOutput || name == "/dev/stdout" || name == "/dev/fd/1" ||
           name == "/proc/self/fd/1";
}

OutputTarget::OutputTarget(std::optional<std::string> output) {
    if (!output)
        return;
    if (!names_standard_output(*output)) {
        file_ = fs::path(*output);
        return;
    }
    staging_folder_ = make_staging_folder();
    watch_signals(staging_folder_);
    file_ = staging_folder_ / "program";
}

OutputTarget::~OutputTarget() {
    if (staging_folder_.empty())
        return;
    std::error_code ignored;
    fs::remove_all(staging_folder_, ignored);
    stop_watching_signals();
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
    bool reader_there = true;
    while (reader_there && (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        try {
            reader_there = write_standard_output(std::string_view(buffer).substr(0, got));
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

bool write_standard_output(std::string_view bytes) {
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written == bytes.size() && std::fflush(stdout) == 0)
        return true;
    // main() ignores SIGPIPE, so a closed pipe shows here.
    if (errno == EPIPE)
        return false;
    throw Error("Cannot write to standard output: " + system_message(errno));
}

void write_output(const std::string& name, std::string_view bytes) {
    if (names_standard_output(name))
        write_standard_output(bytes);
    else
        write_file_atomically(name, bytes);
}

}  // namespace ostrivane::cli
