#pragma once
#include <string_view>

namespace ostrivane {

// How a window's component takes part in its state file.
enum class ComponentKind {
    Field,        // labelled field: stored as its edit box and its label, under prefixed keys
    Edit,         // plain edit box: its text
    CheckBox,     // its checked state
    Caption,      // label, group box, tab page: its caption
    ProgressBar,  // its position, a floating point number
    ListBox,      // the selected item's text
    Button,       // stored without a value
    Picture,      // stored without a value
    Selector,     // combo box: stored as its own name, never restored
    Other,        // tab control, scroll box, panel, dialog ...: stored as its own name
    Memo,         // not stored
    ImageList,    // not stored
};

// One component of a window, in the window's component order. For a Field `text` is the
// label and `default_text` the edit box's text; for a Caption `text` is the caption; for a
// CheckBox `text` is the caption and `default_checked` the state; for a Selector
// `default_text` is the selected item.
struct ComponentSpec {
    std::string_view name;
    ComponentKind kind;
    std::string_view text = {};
    std::string_view default_text = {};
    bool default_checked = false;
};

}  // namespace ostrivane
