#include "core/app/form_state.h"

#include <nlohmann/json.hpp>
#include <unordered_map>

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

// What a state file holds for one component: its member, reduced to what a restore looks at.
struct Entry {
    enum class Data { absent, string, boolean, number, other };
    bool present = false;  // the file has a member of this key
    bool is_object = false;
    Data data = Data::absent;
    std::string text;
    bool flag = false;
    double number = 0.0;
};

using Entries = std::unordered_map<std::string, Entry>;

// Reads a state's JSON text in one pass, keeping only the members that `entries` asks for
// (their keys are in it beforehand; a member found fills its entry, a later duplicate wins).
// Every other member is checked for syntax and dropped, so a file of a million extra members
// costs one pass and no memory for them.
class StateReader final : public nlohmann::json_sax<Json> {
  public:
    explicit StateReader(Entries& entries) : entries_(entries) {}

    bool null() override { return value(Entry::Data::other); }
    bool boolean(bool v) override {
        if (Entry* e = data_target())
            e->flag = v;
        return value(Entry::Data::boolean);
    }
    bool number_integer(number_integer_t v) override { return number(static_cast<double>(v)); }
    bool number_unsigned(number_unsigned_t v) override { return number(static_cast<double>(v)); }
    bool number_float(number_float_t v, const string_t&) override { return number(v); }
    bool string(string_t& v) override {
        if (Entry* e = data_target())
            e->text = std::move(v);
        return value(Entry::Data::string);
    }
    bool binary(binary_t&) override { return value(Entry::Data::other); }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t& k) override {
        if (depth_ == 1) {
            const auto it = entries_.find(k);
            member_ = it == entries_.end() ? nullptr : &it->second;
            if (member_ != nullptr) {
                *member_ = Entry{};
                member_->present = true;
            }
        } else if (depth_ == 2) {
            in_data_ = member_ != nullptr && member_->is_object && k == "data";
        }
        return true;
    }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception&) override {
        error_position_ = position;
        return false;
    }

    bool top_is_object() const { return top_is_object_; }
    std::size_t error_position() const { return error_position_; }

  private:
    // The entry whose "data" the value being read is, if any.
    Entry* data_target() const { return depth_ == 2 && in_data_ ? member_ : nullptr; }

    bool value(Entry::Data kind) {
        if (Entry* e = data_target())
            e->data = kind;
        in_data_ = false;
        return true;
    }
    bool number(double v) {
        if (Entry* e = data_target())
            e->number = v;
        return value(Entry::Data::number);
    }
    bool open(bool object) {
        if (depth_ == 0)
            top_is_object_ = object;
        else if (depth_ == 1 && member_ != nullptr)
            member_->is_object = object;
        else
            value(Entry::Data::other);
        ++depth_;
        return true;
    }
    bool close() {
        --depth_;
        if (depth_ == 1)
            member_ = nullptr;
        return true;
    }

    Entries& entries_;
    int depth_ = 0;
    Entry* member_ = nullptr;  // the wanted member being read, at depth 1 and below
    bool in_data_ = false;     // the next value at depth 2 is the member's "data"
    bool top_is_object_ = false;
    std::size_t error_position_ = 0;
};

// Parses the text and fills the wanted entries; throws Error for text that is not one JSON
// object.
void read_state_text(std::string_view json_text, Entries& entries) {
    StateReader reader(entries);
    if (!Json::sax_parse(json_text, &reader)) {
        throw Error("The state is not valid JSON text (the error is at byte " +
                    std::to_string(reader.error_position()) + ")");
    }
    if (!reader.top_is_object())
        throw Error("The state is not a JSON object");
}

// Applies one entry; throws Error naming the key when the entry does not fit the component.
void apply_entry(const Entries& entries, const std::string& key, ComponentKind kind,
                 FormAccess& form) {
    if (kind == ComponentKind::Button || kind == ComponentKind::Picture)
        return;
    const auto found = entries.find(key);
    if (found == entries.end() || !found->second.present)
        throw Error("No entry for component " + key);
    const Entry& entry = found->second;
    if (kind == ComponentKind::CheckBox) {
        form.set_component_checked(key, entry.data == Entry::Data::boolean && entry.flag);
        return;
    }
    const Entry::Data wanted =
        kind == ComponentKind::ProgressBar ? Entry::Data::number : Entry::Data::string;
    if (entry.data != wanted)
        throw Error("Invalid data for component " + key);
    switch (kind) {
        case ComponentKind::Edit:
        case ComponentKind::Caption:
            form.set_component_text(key, entry.text);
            break;
        case ComponentKind::ProgressBar:
            form.set_component_position(key, entry.number);
            break;
        case ComponentKind::ListBox:
            if (form.selected_item(key))
                form.replace_selected_item(key, entry.text);
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
            throw Error("The file does not start with a valid length");
        const auto b = static_cast<unsigned char>(bytes[i++]);
        length |= std::uint64_t{b & 0x7Fu} << shift;
        if ((b & 0x80) == 0)
            break;
    }
    if (length > bytes.size() - i) {
        throw Error("The file ends after " + std::to_string(bytes.size() - i) + " of the " +
                    std::to_string(length) + " bytes its length announces");
    }
    return {std::string(bytes.substr(i, length)), i + length};
}

std::optional<std::string> state_text_error(std::string_view json_text) {
    Entries none;
    try {
        read_state_text(json_text, none);
    } catch (const Error& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

std::optional<std::string> restore_form_state(std::string_view bytes,
                                              std::span<const ComponentSpec> components,
                                              FormAccess& form) {
    if (bytes.empty())
        return std::nullopt;
    try {
        const StateRecord record = decode_state_file(bytes);
        // Only the members of stored components are kept, each found again in constant time.
        Entries entries;
        walk(components, [&](const std::string& key, ComponentKind) { entries[key]; });
        read_state_text(record.json_text, entries);
        walk(components, [&](const std::string& key, ComponentKind kind) {
            apply_entry(entries, key, kind, form);
        });
    } catch (const Error& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

std::string state_diagnostic(std::string_view window_class, std::string_view message) {
    return "SaveStateHelper (" + std::string(window_class) + "): " + std::string(message);
}

}  // namespace ostrivane
