#pragma once

class QWidget;

namespace ostrivane {

// A plain widget reaches assistive tools as an anonymous filler, which screen readers and GUI
// robots skip. A picture the user looks at or points into (a plot, a page preview) is shown to
// them as a picture with its accessible name instead. Call before the widget is first shown.
void show_as_picture(QWidget* widget);

}  // namespace ostrivane
