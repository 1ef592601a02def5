#pragma once
#include <string>
#include <string_view>

namespace ostrivane {

// Where the lines of a machine program go. Motion commands write through this, so the same
// code fills a file, a string in a test, or a benchmark's counter.
class LineSink {
  public:
    virtual ~LineSink() = default;
    // One line without its line end.
    virtual void write_line(std::string_view line) = 0;
};

// Collects the lines as the file would hold them (7-bit ASCII, CR LF).
class StringSink final : public LineSink {
  public:
    void write_line(std::string_view line) override;
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace ostrivane
