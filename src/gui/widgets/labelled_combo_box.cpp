#include "gui/widgets/labelled_combo_box.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace ostrivane::gui {
namespace {

// Named by its label; the current item is its value, and its text for tools that read a combo
// box's value through the text interface (as screen readers do on Linux).
class LabelledComboBoxInterface : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit LabelledComboBoxInterface(LabelledComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return combo()->accessibleName();
            case QAccessible::Value:
                return combo()->currentText();
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The text interface: the current item, read only, without selections.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return combo()->currentText().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(combo()->currentText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    LabelledComboBox* combo() const { return static_cast<LabelledComboBox*>(widget()); }
};

QAccessibleInterface* labelled_combo_interface(const QString&, QObject* object) {
    if (auto* combo = qobject_cast<LabelledComboBox*>(object))
        return new LabelledComboBoxInterface(combo);
    return nullptr;
}

}  // namespace

LabelledComboBox::LabelledComboBox(const QString& label, QWidget* parent) : QComboBox(parent) {
    // Qt keeps its factories for the whole run; one serves every such box.
    static const bool installed = (QAccessible::installFactory(labelled_combo_interface), true);
    (void)installed;
    setAccessibleName(label);
}

}  // namespace ostrivane::gui
