#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/app/component.h"

namespace ostrivane {

// A window's component values by state key: the component's name, or for the two inner
// controls of a labelled field the field's name + "Ed" / + "Label1".
class FormAccess {
  public:
    virtual ~FormAccess() = default;
    // Edit text or caption.
    virtual std::string component_text(std::string_view key) const = 0;
    virtual void set_component_text(std::string_view key, std::string_view text) = 0;
    virtual bool component_checked(std::string_view key) const = 0;
    virtual void set_component_checked(std::string_view key, bool checked) = 0;
    virtual double component_position(std::string_view) const { return 0.0; }
    virtual void set_component_position(std::string_view, double) {}
    // The selected item's text of a list box, nullopt when nothing is selected.
    virtual std::optional<std::string> selected_item(std::string_view) const {
        return std::nullopt;
    }
    virtual void replace_selected_item(std::string_view, std::string_view) {}
};

// The compact JSON text of a window's state, members in component order.
std::string form_state_json(std::span<const ComponentSpec> components, const FormAccess& form);

// A whole state file: the length of the text in 7-bit groups, then the text.
std::string encode_state_file(std::string_view json_text);
std::string save_form_state(std::span<const ComponentSpec> components, const FormAccess& form);

// The counted JSON text of a state file, and how many bytes the record took. An empty file
// gives an empty text. Throws Error when the prefix is broken or asks for more bytes than exist.
struct StateRecord {
    std::string json_text;
    std::size_t size = 0;
};
StateRecord decode_state_file(std::string_view bytes);

// Why a state's JSON text is not one JSON object, or nullopt when it is. Reads it in one pass.
std::optional<std::string> state_text_error(std::string_view json_text);

// Applies a state file to a window component by component. Entries are applied one at a time,
// so a restore that fails part-way keeps what it applied. Members are looked up in constant
// time, so extra members cost no more than reading them. Returns the failure's message, or
// nullopt when everything was applied (an empty file applies nothing and succeeds).
std::optional<std::string> restore_form_state(std::string_view bytes,
                                              std::span<const ComponentSpec> components,
                                              FormAccess& form);

// The line written to the debug output when a save or restore fails.
std::string state_diagnostic(std::string_view window_class, std::string_view message);

}  // namespace ostrivane
