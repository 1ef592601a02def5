#include "core/app/field_values.h"

#include <algorithm>
#include <vector>

#include "core/app/main_window_fields.h"
#include "core/text/ascii_text.h"
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

// Edits (insert, delete, replace one character) between two names, letters of either case
// counted as the same.
std::size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = ascii_lower(a[i - 1]) == ascii_lower(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string unknown_field_message(std::span<const ComponentSpec> components,
                                  std::string_view name) {
    std::vector<std::pair<std::size_t, std::string_view>> names;
    for (const ComponentSpec& c : components) {
        switch (c.kind) {
            case ComponentKind::Field:
            case ComponentKind::Edit:
            case ComponentKind::CheckBox:
            case ComponentKind::Selector:
            case ComponentKind::Caption:
                names.emplace_back(edit_distance(name, c.name), c.name);
                break;
            default:
                break;
        }
    }
    // The closest first; among equals, the window's order.
    std::stable_sort(names.begin(), names.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string message = "Unknown field: " + std::string(name);
    const std::size_t shown = std::min<std::size_t>(3, names.size());
    for (std::size_t i = 0; i < shown; ++i) {
        message += i == 0 ? " (the closest names are " : i + 1 == shown ? " and " : ", ";
        message += names[i].second;
    }
    return shown == 0 ? message : message + ")";
}

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
            throw Error(key + " is an axis selector: give X, Y, Z, W, A, B or C, not " +
                        std::string(value));
        }
        selected_[key] = static_cast<int>(index);
    } else if (texts_.contains(name)) {
        texts_[key] = std::string(value);
    } else {
        throw Error(unknown_field_message(components_, name));
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
