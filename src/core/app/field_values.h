#pragma once
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "core/app/component.h"
#include "core/app/field_source.h"
#include "core/app/form_state.h"

namespace ostrivane {

// "Unknown field: NAME" with the three names of the window closest to it.
std::string unknown_field_message(std::span<const ComponentSpec> components, std::string_view name);

// A window's fields as plain values, starting at the window's defaults. Serves the command-line
// tool and the tests wherever the real window is not there.
class FieldValues final : public FieldSource, public FormAccess {
  public:
    explicit FieldValues(std::span<const ComponentSpec> components);

    std::span<const ComponentSpec> components() const { return components_; }

    // Sets one component by its name, as the command line's NAME=TEXT does: a labelled field
    // takes text, a check box "true"/"false", a selector one of its letters. Throws Error for an
    // unknown name or a value the component cannot hold.
    void assign(std::string_view name, std::string_view value);

    // FieldSource
    std::string text(std::string_view field) const override;
    void set_text(std::string_view field, std::string_view text) override;
    std::string label(std::string_view field) const override;
    bool checked(std::string_view check_box) const override;
    int selected(std::string_view selector) const override;
    void select(std::string_view selector, int index);

    // FormAccess
    std::string component_text(std::string_view key) const override;
    void set_component_text(std::string_view key, std::string_view text) override;
    bool component_checked(std::string_view key) const override;
    void set_component_checked(std::string_view key, bool checked) override;

  private:
    std::span<const ComponentSpec> components_;
    std::map<std::string, std::string, std::less<>> texts_;  // by state key
    std::map<std::string, bool, std::less<>> checked_;
    std::map<std::string, int, std::less<>> selected_;
};

}  // namespace ostrivane
