#include "gui/widgets/labelled_combo_box.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace ostrivane::gui {
namespace {

class LabelledComboBoxInterface : public QAccessibleWidget {
  public:
    explicit LabelledComboBoxInterface(LabelledComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text t) const override {
        const auto* combo = static_cast<const LabelledComboBox*>(widget());
        switch (t) {
            case QAccessible::Name:
                return combo->accessibleName();
            case QAccessible::Value:
                return combo->currentText();
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            static_cast<LabelledComboBox*>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }
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
