#pragma once
#include <QIcon>

namespace ostrivane::gui {

// The editor's tool-strip icons, 36 x 40: a small picture above a word.
enum class ToolIcon { Add, Cut, Zoom, Move, Select };
QIcon tool_icon(ToolIcon which);

}  // namespace ostrivane::gui
