#pragma once
#include <QComboBox>

namespace ostrivane::gui {

// A combo box that assistive tools know by its label. Qt's own combo box reports its current
// item as its name on Linux ("W", then "A"), so a screen reader or a GUI robot cannot tell the
// four axis selectors apart; this one is named by its accessible name, which callers set to the
// label beside it, and reports the current item as its value.
class LabelledComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit LabelledComboBox(const QString& label, QWidget* parent = nullptr);
};

}  // namespace ostrivane::gui
