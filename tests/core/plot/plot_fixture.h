#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/plot/tgrita.h"
#include "support/recording_canvas.h"

namespace ostrivane::test {

// Keeps what a plot surface told its label.
struct RecordingLabel : MessageLabel {
    void set_text(std::string_view t) override { text = std::string(t); }
    void start_fade() override { ++fades; }
    std::string text;
    int fades = 0;
};

using LogLines = std::vector<std::pair<std::string, bool>>;

// A surface on a 400 x 200 plot control with a recorded log and label.
class PlotFixture : public ::testing::Test {
  protected:
    explicit PlotFixture(bool show_reel = true)
        : grita(screen, &label, show_reel,
                [this](std::string_view m, bool critical) { log.emplace_back(m, critical); }) {}

    LogLines critical(std::initializer_list<const char*> messages) {
        LogLines lines;
        for (const char* m : messages) {
            lines.emplace_back(m, true);
        }
        return lines;
    }

    RecordingCanvas screen{400, 200};
    RecordingLabel label;
    LogLines log;
    Tgrita grita;
};

}  // namespace ostrivane::test
