#pragma once
#include <functional>
#include <string_view>

namespace ostrivane {

// The main window's log as the turning engine writes to it: lines that go to the log (and, when
// critical, to the critical log) without appearing on the editor's message label. Empty: the
// lines are dropped.
using MainLog = std::function<void(std::string_view message, bool critical)>;

}  // namespace ostrivane
