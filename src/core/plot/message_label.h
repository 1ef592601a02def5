#pragma once
#include <string_view>

namespace ostrivane {

// The fading message label of a window that owns a plot surface. Computations tell the
// operator about trouble through it while the plot stays in view: the text is shown in red and
// faded in and out once per start; it stays until the next message.
class MessageLabel {
  public:
    virtual ~MessageLabel() = default;
    virtual void set_text(std::string_view text) = 0;
    // Fades the label in and out once. Starting again while a fade runs is up to the display.
    virtual void start_fade() = 0;
};

}  // namespace ostrivane
