#pragma once
#include <cstdint>
#include <string>

namespace ostrivane {

// Where a computation's notices for the operator go ("Double points are not allowed !!!" and
// the like): the plot surface's fading label in the window, standard error in the command-line
// tool, a list in tests. A notice is also logged, as a critical line when asked.
class MessageSink {
  public:
    // Opaque red (ARGB), the colour of nearly every notice.
    static constexpr std::uint32_t kRed = 0xFFFF0000u;

    virtual ~MessageSink() = default;
    virtual void notice(const std::string& text, std::uint32_t colour, bool critical) = 0;
    void notice(const std::string& text, bool critical = false) { notice(text, kRed, critical); }
};

// Drops every notice: for work whose notices nobody reads.
class SilentSink final : public MessageSink {
  public:
    using MessageSink::notice;
    void notice(const std::string&, std::uint32_t, bool) override {}
};

}  // namespace ostrivane
