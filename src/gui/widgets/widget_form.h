#pragma once
#include <QHash>
#include <QPointer>
#include <span>

#include "core/app/component.h"
#include "core/app/field_source.h"
#include "core/app/form_state.h"

class QWidget;

namespace ostrivane::gui {

// A window's widgets seen by the core: its fields by name for jobs, and its components by
// state key for the state files. Widgets are found by object name once, at construction.
class WidgetForm final : public FieldSource, public FormAccess {
  public:
    WidgetForm(QWidget* window, std::span<const ComponentSpec> components);

    std::span<const ComponentSpec> components() const { return components_; }

    // FieldSource
    std::string text(std::string_view field) const override;
    void set_text(std::string_view field, std::string_view text) override;
    std::string label(std::string_view field) const override;
    bool checked(std::string_view check_box) const override;
    int selected(std::string_view selector) const override;

    // FormAccess
    std::string component_text(std::string_view key) const override;
    void set_component_text(std::string_view key, std::string_view text) override;
    bool component_checked(std::string_view key) const override;
    void set_component_checked(std::string_view key, bool checked) override;
    double component_position(std::string_view key) const override;
    void set_component_position(std::string_view key, double position) override;
    std::optional<std::string> selected_item(std::string_view key) const override;
    void replace_selected_item(std::string_view key, std::string_view text) override;

  private:
    QWidget* widget(std::string_view key) const;

    std::span<const ComponentSpec> components_;
    QHash<QString, QPointer<QWidget>> widgets_;  // by state key
};

}  // namespace ostrivane::gui
