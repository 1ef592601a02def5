#include "gui/widgets/widget_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTabWidget>

#include "core/text/error.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

// A page of a tab control carries its caption in the tab bar.
QTabWidget* tab_control_of(QWidget* page) {
    for (QWidget* p = page->parentWidget(); p != nullptr; p = p->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(p))
            return tabs->indexOf(page) >= 0 ? tabs : nullptr;
    }
    return nullptr;
}

// A window's own component of that name. The inner controls of labelled fields carry the same
// names in every field ("Ed", "Label1") and may clash with a window component's name.
QWidget* find_component(QWidget* window, const QString& name) {
    for (QWidget* w : window->findChildren<QWidget*>(name)) {
        if (qobject_cast<TFrame1*>(w->parentWidget()) == nullptr)
            return w;
    }
    return nullptr;
}

}  // namespace

WidgetForm::WidgetForm(QWidget* window, std::span<const ComponentSpec> components)
    : components_(components) {
    for (const ComponentSpec& c : components) {
        const QString name = qs(c.name);
        if (c.kind == ComponentKind::Field) {
            auto* frame = window->findChild<TFrame1*>(name);
            if (frame == nullptr)
                continue;
            widgets_.insert(name + QStringLiteral("Ed"), frame->Ed());
            widgets_.insert(name + QStringLiteral("Label1"), frame->Label1());
        } else if (QWidget* w = find_component(window, name)) {
            widgets_.insert(name, w);
        }
    }
}

QWidget* WidgetForm::widget(std::string_view key) const {
    QWidget* w = widgets_.value(qs(key));
    if (w == nullptr)
        throw Error("No component " + std::string(key));
    return w;
}

std::string WidgetForm::text(std::string_view field) const {
    return component_text(std::string(field) + "Ed");
}

void WidgetForm::set_text(std::string_view field, std::string_view text) {
    set_component_text(std::string(field) + "Ed", text);
}

std::string WidgetForm::label(std::string_view field) const {
    return component_text(std::string(field) + "Label1");
}

bool WidgetForm::checked(std::string_view check_box) const {
    return component_checked(check_box);
}

int WidgetForm::selected(std::string_view selector) const {
    auto* combo = qobject_cast<QComboBox*>(widget(selector));
    if (combo == nullptr)
        throw Error("No selector " + std::string(selector));
    return combo->currentIndex();
}

std::string WidgetForm::component_text(std::string_view key) const {
    QWidget* w = widget(key);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return ss(edit->text());
    if (auto* label = qobject_cast<QLabel*>(w))
        return ss(label->text());
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return ss(group->title());
    if (QTabWidget* tabs = tab_control_of(w))
        return ss(tabs->tabText(tabs->indexOf(w)));
    throw Error("No text in component " + std::string(key));
}

void WidgetForm::set_component_text(std::string_view key, std::string_view text) {
    QWidget* w = widget(key);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(qs(text));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        // A caption from a file is shown as text, whatever markup it holds.
        label->setTextFormat(Qt::PlainText);
        label->setText(qs(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(qs(text));
    } else if (QTabWidget* tabs = tab_control_of(w)) {
        tabs->setTabText(tabs->indexOf(w), qs(text));
    } else {
        throw Error("No text in component " + std::string(key));
    }
}

bool WidgetForm::component_checked(std::string_view key) const {
    auto* box = qobject_cast<QCheckBox*>(widget(key));
    if (box == nullptr)
        throw Error("No check box " + std::string(key));
    return box->isChecked();
}

void WidgetForm::set_component_checked(std::string_view key, bool checked) {
    auto* box = qobject_cast<QCheckBox*>(widget(key));
    if (box == nullptr)
        throw Error("No check box " + std::string(key));
    box->setChecked(checked);
}

double WidgetForm::component_position(std::string_view key) const {
    auto* bar = qobject_cast<QProgressBar*>(widget(key));
    if (bar == nullptr)
        throw Error("No progress bar " + std::string(key));
    return bar->value();
}

void WidgetForm::set_component_position(std::string_view key, double position) {
    auto* bar = qobject_cast<QProgressBar*>(widget(key));
    if (bar == nullptr)
        throw Error("No progress bar " + std::string(key));
    bar->setValue(static_cast<int>(position));
}

std::optional<std::string> WidgetForm::selected_item(std::string_view key) const {
    auto* list = qobject_cast<QListWidget*>(widget(key));
    if (list == nullptr || list->currentItem() == nullptr)
        return std::nullopt;
    return ss(list->currentItem()->text());
}

void WidgetForm::replace_selected_item(std::string_view key, std::string_view text) {
    auto* list = qobject_cast<QListWidget*>(widget(key));
    if (list != nullptr && list->currentItem() != nullptr)
        list->currentItem()->setText(qs(text));
}

}  // namespace ostrivane::gui
