#include "core/app/form_state.h"

#include <nlohmann/json.hpp>

#include "core/text/error.h"

namespace ostrivane {
namespace {

using Json = nlohmann::ordered_json;

std::string field_key(std::string_view field, std::string_view inner) {
    return std::string(field) + std::string(inner);
}

Json with_data(const Json& value) {
    Json entry = Json::object();
    entry["data"] = value;
    return entry;
}

// Calls visit(key, kind) for every stored member in component order, expanding fields into
// their edit box and label.
template <typename Visit>
void walk(std::span<const ComponentSpec> components, Visit&& visit) {
    for (const ComponentSpec& c : components) {
        switch (c.kind) {
            case ComponentKind::Memo:
            case ComponentKind::ImageList:
                break;
            case ComponentKind::Field:
                visit(field_key(c.name, "Ed"), ComponentKind::Edit);
                visit(field_key(c.name, "Label1"), ComponentKind::Caption);
                break;
            default:
                visit(std::string(c.name), c.kind);
        }
    }
}

Json stored_value(const std::string& key, ComponentKind kind, const FormAccess& form) {
    switch (kind) {
        case ComponentKind::Edit:
        case ComponentKind::Caption:
            return with_data(form.component_text(key));
        case ComponentKind::CheckBox:
            return with_data(form.component_checked(key));
        case ComponentKind::ProgressBar:
            return with_data(form.component_position(key));
        case ComponentKind::ListBox:
            return with_data(form.selected_item(key).value_or(""));
        case ComponentKind::Button:
        case ComponentKind::Picture:
            return Json::object();
        default:
            return with_data(key);
    }
}

// Applies one entry; throws Error naming the key when the entry does not fit the component.
void apply_entry(const Json& state, const std::string& key, ComponentKind kind, FormAccess& form) {
    if (kind == ComponentKind::Button || kind == ComponentKind::Picture)
        return;
    const auto entry = state.find(key);
    if (entry == state.end())
        throw Error("No entry for component " + key);
    if (kind == ComponentKind::CheckBox) {
        const bool on = entry->is_object() && entry->contains("data") && entry->at("data") == true;
        form.set_component_checked(key, on);
        return;
    }
    const Json* value =
        entry->is_object() && entry->contains("data") ? &entry->at("data") : nullptr;
    const bool numeric = kind == ComponentKind::ProgressBar;
    if (value == nullptr || (numeric ? !value->is_number() : !value->is_string())) {
        throw Error("Invalid data for component " + key);
    }
    switch (kind) {
        case ComponentKind::Edit:
        case ComponentKind::Caption:
            form.set_component_text(key, value->get_ref<const std::string&>());
            break;
        case ComponentKind::ProgressBar:
            form.set_component_position(key, value->get<double>());
            break;
        case ComponentKind::ListBox:
            if (form.selected_item(key)) {
                form.replace_selected_item(key, value->get_ref<const std::string&>());
            }
            break;
        default:
            break;  // read, never applied
    }
}

}  // namespace

std::string form_state_json(std::span<const ComponentSpec> components, const FormAccess& form) {
    Json state = Json::object();
    walk(components, [&](const std::string& key, ComponentKind kind) {
        state[key] = stored_value(key, kind, form);
    });
    return state.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string encode_state_file(std::string_view json_text) {
    std::string bytes;
    std::size_t n = json_text.size();
    do {
        unsigned char group = n & 0x7F;
        n >>= 7;
        if (n != 0)
            group |= 0x80;
        bytes.push_back(static_cast<char>(group));
    } while (n != 0);
    bytes.append(json_text);
    return bytes;
}

std::string save_form_state(std::span<const ComponentSpec> components, const FormAccess& form) {
    return encode_state_file(form_state_json(components, form));
}

StateRecord decode_state_file(std::string_view bytes) {
    if (bytes.empty())
        return {};
    std::uint64_t length = 0;
    std::size_t i = 0;
    for (int shift = 0;; shift += 7) {
        if (i >= bytes.size() || shift > 28)
            throw Error("Invalid length prefix");
        const auto b = static_cast<unsigned char>(bytes[i++]);
        length |= std::uint64_t{b & 0x7Fu} << shift;
        if ((b & 0x80) == 0)
            break;
    }
    if (length > bytes.size() - i)
        throw Error("Stream read error");
    return {std::string(bytes.substr(i, length)), i + length};
}

std::optional<std::string> restore_form_state(std::string_view bytes,
                                              std::span<const ComponentSpec> components,
                                              FormAccess& form) {
    if (bytes.empty())
        return std::nullopt;
    try {
        const StateRecord record = decode_state_file(bytes);
        const Json state = Json::parse(record.json_text);
        if (!state.is_object())
            throw Error("The state is not a JSON object");
        walk(components, [&](const std::string& key, ComponentKind kind) {
            apply_entry(state, key, kind, form);
        });
    } catch (const Error& e) {
        return std::string(e.what());
    } catch (const nlohmann::json::exception& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

std::string state_diagnostic(std::string_view window_class, std::string_view message) {
    return "SaveStateHelper (" + std::string(window_class) + "): " + std::string(message);
}

}  // namespace ostrivane
