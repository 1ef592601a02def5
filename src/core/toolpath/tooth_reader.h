#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrivane {

// One slot of a tooth file: cut from posleft to posright (mm along the work), `depth` mm deeper
// than the profile.
struct toothrec {
    double posleft = 0;
    double posright = 0;
    double depth = 0;
};

// An open tooth file, read one line at a time as the slots are merged: the first line holds the
// number of teeth, then each tooth takes three lines (left edge, right edge, depth). A line holds
// one number, after optional blanks; the rest of the line is ignored. The file is hostile: every
// read is checked, a line that holds no number or a file that ends early throws Error naming the
// file and the line, and nothing is sized by the count it announces.
class ToothFile {
  public:
    // The most bytes a tooth file may have: 16 MiB, some 200,000 slots at 75 bytes each. A turning
    // job merges no more slots than its pass list of 300 entries holds; a longer file is
    // something else (a wrong file chosen, a device) and is refused before it is read.
    static constexpr std::uint64_t kMaxBytes = std::uint64_t{16} << 20;

    ToothFile(std::string bytes, std::string name);
    ToothFile(const ToothFile&) = delete;
    ToothFile& operator=(const ToothFile&) = delete;

    // The whole number on the next line.
    std::int32_t read_count();
    // The real number on the next line.
    double read_number();
    // Passes over the next line unread (a depth that the second spline replaces); nothing at
    // the end of the file.
    void skip_line();

    const std::string& name() const { return name_; }

  private:
    // The first word of the next line; throws at the end of the file.
    std::string_view next_word();
    [[noreturn]] void refuse(std::string_view word, std::string_view kind) const;
    [[noreturn]] void ended() const;

    std::string bytes_;
    std::string name_;
    std::vector<std::string_view> lines_;  // into bytes_
    std::size_t next_ = 0;                 // the line read next, from 0
};

}  // namespace ostrivane
