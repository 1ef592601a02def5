#pragma once
#include <string>

namespace ostrivane {

// Where a computation's notices for the operator go ("Double points are not allowed !!!" and
// the like): the plot surface's fading label in the window, standard error in the command-line
// tool, a list in tests. A notice is also logged, as a critical line when asked.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void notice(const std::string& text, bool critical) = 0;
};

// Drops every notice: for work whose notices nobody reads.
class SilentSink final : public MessageSink {
  public:
    void notice(const std::string&, bool) override {}
};

}  // namespace ostrivane
