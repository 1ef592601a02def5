#include "core/app/field_values.h"

#include "core/app/main_window_fields.h"
#include "core/text/error.h"

namespace ostrivane {
namespace {

template <typename Map>
auto& at_or_throw(Map& map, std::string_view key) {
    const auto it = map.find(key);
    if (it == map.end())
        throw Error("Unknown field: " + std::string(key));
    return it->second;
}

}  // namespace

FieldValues::FieldValues(std::span<const ComponentSpec> components) : components_(components) {
    for (const ComponentSpec& c : components) {
        const std::string name(c.name);
        switch (c.kind) {
            case ComponentKind::Field:
                texts_[name + "Ed"] = std::string(c.default_text);
                texts_[name + "Label1"] = std::string(c.text);
                break;
            case ComponentKind::Edit:
                texts_[name] = std::string(c.default_text);
                break;
            case ComponentKind::Caption:
                texts_[name] = std::string(c.text);
                break;
            case ComponentKind::CheckBox:
                checked_[name] = c.default_checked;
                break;
            case ComponentKind::Selector:
                selected_[name] = static_cast<int>(axis_letters.find(c.default_text));
                break;
            default:
                break;
        }
    }
}

void FieldValues::assign(std::string_view name, std::string_view value) {
    const std::string key(name);
    if (texts_.contains(key + "Ed")) {
        set_text(name, value);
    } else if (checked_.contains(name)) {
        if (value != "true" && value != "false") {
            throw Error(key + " is a check box: give true or false, not " + std::string(value));
        }
        checked_[key] = value == "true";
    } else if (selected_.contains(name)) {
        const auto index = axis_letters.find(value);
        if (value.size() != 1 || index == std::string_view::npos) {
            throw Error(key + " is an axis selector: give X, Y, Z or W, not " + std::string(value));
        }
        selected_[key] = static_cast<int>(index);
    } else if (texts_.contains(name)) {
        texts_[key] = std::string(value);
    } else {
        throw Error("Unknown field: " + key);
    }
}

std::string FieldValues::text(std::string_view field) const {
    return at_or_throw(texts_, std::string(field) + "Ed");
}

void FieldValues::set_text(std::string_view field, std::string_view text) {
    at_or_throw(texts_, std::string(field) + "Ed") = std::string(text);
}

std::string FieldValues::label(std::string_view field) const {
    return at_or_throw(texts_, std::string(field) + "Label1");
}

bool FieldValues::checked(std::string_view check_box) const {
    return at_or_throw(checked_, check_box);
}

int FieldValues::selected(std::string_view selector) const {
    return at_or_throw(selected_, selector);
}

void FieldValues::select(std::string_view selector, int index) {
    at_or_throw(selected_, selector) = index;
}

std::string FieldValues::component_text(std::string_view key) const {
    return at_or_throw(texts_, key);
}

void FieldValues::set_component_text(std::string_view key, std::string_view text) {
    at_or_throw(texts_, key) = std::string(text);
}

bool FieldValues::component_checked(std::string_view key) const {
    return at_or_throw(checked_, key);
}

void FieldValues::set_component_checked(std::string_view key, bool checked) {
    at_or_throw(checked_, key) = checked;
}

}  // namespace ostrivane
