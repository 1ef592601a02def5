#pragma once

class QTabWidget;
class QWidget;

namespace ostrivane::gui {

// Builds the main window's header bar and its five tabs, every control named as in the
// window's component table. Returns the central widget; `tabs` receives the tab control.
QWidget* build_main_window_content(QWidget* window, QTabWidget*& tabs);

}  // namespace ostrivane::gui
