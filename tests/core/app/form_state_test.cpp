#include "core/app/form_state.h"

#include <gtest/gtest.h>

#include <array>
#include <nlohmann/json.hpp>
#include <set>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"

namespace ostrivane {
namespace {

std::string json_of(std::string_view file) {
    return decode_state_file(file).json_text;
}

TEST(StateFile, LengthPrefixInSevenBitGroups) {
    EXPECT_EQ(encode_state_file(std::string(1864, 'x')).substr(0, 2), "\xC8\x0E");
    EXPECT_EQ(encode_state_file("{}"), std::string("\x02{}"));
    EXPECT_EQ(encode_state_file(std::string(127, 'x'))[0], '\x7F');
    EXPECT_EQ(encode_state_file(std::string(128, 'x')).substr(0, 2), "\x80\x01");
    const std::string big(300000, 'y');
    const StateRecord r = decode_state_file(encode_state_file(big) + "tail");
    EXPECT_EQ(r.json_text, big);
    EXPECT_EQ(r.size, big.size() + 3);
}

TEST(StateFile, DefaultMainWindowMembersInComponentOrder) {
    const FieldValues fields(main_window_components());
    const std::string json = json_of(save_form_state(main_window_components(), fields));
    EXPECT_TRUE(json.starts_with(
        R"({"HeaderToolBar":{"data":"HeaderToolBar"},"ToolBarLabel":{"data":"Ostrivane"},)"
        R"("TabControl1":{"data":"TabControl1"},"TabItem1":)"))
        << json;
    for (
        const char* member :
        {R"j("write_tnd":{},"saw_widthEd":{"data":"3.2"},"saw_widthLabel1":{"data":"Saw width (mm)"},"no_cutsEd")j",
         R"("Roughing":{"data":true},"Sanding":{"data":false})", R"("write_mot":{})",
         R"("GcodeX":{"data":"GcodeX"})", R"("GcodeFolderEd":{"data":""})",
         R"("GroupBox9":{"data":"Critical Information"},"OpenDialog1":{"data":"OpenDialog1"})",
         R"("PrintDialog":{"data":"PrintDialog"}})"}) {
        EXPECT_NE(json.find(member), std::string::npos) << member;
    }
    EXPECT_EQ(json.find("LogMemo"), std::string::npos);
    EXPECT_EQ(json.find(' ', json.find("PrintDialog")), std::string::npos);
}

// The members a default state file must have, in order, written out independently of the
// component table.
std::vector<std::string> expected_main_window_members() {
    const std::vector<std::string> order = {
        "HeaderToolBar",    "ToolBarLabel",   "TabControl1",    "TabItem1",       "VertScrollBox1",
        "write_tnd",        "saw_width",      "no_cuts",        "Pin_width",      "cut_width",
        "write_mot",        "start_y",        "start_x",        "mot_name",       "jobheight",
        "start_z",          "cut_depth",      "StyleBook1",     "loadbut",        "SaveProg",
        "ImageControl1",    "TabItem2",       "VertScrollBox2", "Smot_name",      "Ssaw_width",
        "Sjobheight",       "runsdepth",      "runsheight",     "delaystep",      "GroupBox1",
        "Roughing",         "Sanding",        "doublet",        "UseTND",         "repeater",
        "PositionZ",        "loadtnd",        "GroupBox2",      "match1",         "match2",
        "DrawSpline",       "Loadsplineprog", "Savesplineprog", "resolution",     "createplan",
        "TabItem3",         "VertScrollBox3", "VertScrollBox5", "VertScrollBox6", "write_log",
        "Write_log_screen", "GroupBox3",      "finemillfeed",   "homefeed",       "normfeed",
        "GroupBox4",        "Label1",         "GcodeX",         "GCodeY",         "GCodeZ",
        "GCodeW",           "Label2",         "Label3",         "Label4",         "Label5",
        "Label6",           "Label7",         "Label9",         "Label10",        "Label8",
        "InvertX",          "InvertY",        "InvertZ",        "InvertW",        "SaveSet",
        "GroupBox5",        "GcodeFolder",    "TabItem4",       "Label11",        "Label12",
        "Label13",          "Version",        "Image1",         "TabItem5",       "VertScrollBox4",
        "GroupBox8",        "LogMemo",        "GroupBox9",      "Critmemo",       "OpenDialog1",
        "SaveDialog1",      "OpenTNDDialog",  "PrintDialog"};
    const std::set<std::string> fields = {
        "saw_width",  "no_cuts",      "Pin_width",  "cut_width", "start_y",    "start_x",
        "mot_name",   "jobheight",    "start_z",    "cut_depth", "Smot_name",  "Ssaw_width",
        "Sjobheight", "runsdepth",    "runsheight", "delaystep", "repeater",   "PositionZ",
        "resolution", "finemillfeed", "homefeed",   "normfeed",  "GcodeFolder"};
    std::vector<std::string> members;
    for (const std::string& name : order) {
        if (name == "LogMemo" || name == "Critmemo")
            continue;
        if (fields.contains(name)) {
            members.push_back(name + "Ed");
            members.push_back(name + "Label1");
        } else {
            members.push_back(name);
        }
    }
    return members;
}

TEST(StateFile, DefaultMainWindowHasExactlyTheComponentOrder) {
    const FieldValues fields(main_window_components());
    const auto state =
        nlohmann::ordered_json::parse(json_of(save_form_state(main_window_components(), fields)));
    std::vector<std::string> keys;
    for (const auto& item : state.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, expected_main_window_members());
}

TEST(StateFile, RoundTripKeepsTextsChecksAndBackslashes) {
    FieldValues saved(main_window_components());
    saved.set_text("GcodeFolder", R"(C:\cnc\)");
    saved.set_text("mot_name", "Zwaluwstaart ü");
    saved.assign("Sanding", "true");
    saved.assign("Roughing", "false");
    saved.assign("GcodeX", "Z");
    const std::string file = save_form_state(main_window_components(), saved);
    EXPECT_NE(file.find(R"("GcodeFolderEd":{"data":"C:\\cnc\\"})"), std::string::npos);

    FieldValues restored(main_window_components());
    EXPECT_EQ(restore_form_state(file, main_window_components(), restored), std::nullopt);
    EXPECT_EQ(restored.text("GcodeFolder"), R"(C:\cnc\)");
    EXPECT_EQ(restored.text("mot_name"), "Zwaluwstaart ü");
    EXPECT_TRUE(restored.checked("Sanding"));
    EXPECT_FALSE(restored.checked("Roughing"));
    EXPECT_EQ(restored.selected("GcodeX"), 0) << "the axis mapping is never restored";
}

// A small window: a field, a check box, a label and a button.
constexpr std::array kSmall = {
    ComponentSpec{"width", ComponentKind::Field, "Width", "1"},
    ComponentSpec{"fine", ComponentKind::CheckBox, "Fine"},
    ComponentSpec{"note", ComponentKind::Caption, "Note"},
    ComponentSpec{"go", ComponentKind::Button, "Go"},
    ComponentSpec{"bar", ComponentKind::ProgressBar},
};

struct RestoreCase {
    const char* name;
    const char* json;
    bool fails;
    const char* width;
    bool fine;
    const char* note;
};

class Restore : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(Restore, AppliesEntriesUntilTheFirstFailure) {
    const RestoreCase& c = GetParam();
    FieldValues form(kSmall);
    const auto error = restore_form_state(encode_state_file(c.json), kSmall, form);
    EXPECT_EQ(error.has_value(), c.fails) << error.value_or("");
    EXPECT_EQ(form.text("width"), c.width);
    EXPECT_EQ(form.checked("fine"), c.fine);
    EXPECT_EQ(form.component_text("note"), c.note);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Restore,
    ::testing::Values(
        RestoreCase{
            "all",
            R"({"widthEd":{"data":"7"},"widthLabel1":{"data":"W"},"fine":{"data":true},"note":{"data":"N"},"bar":{"data":2.5}})",
            false, "7", true, "N"},
        RestoreCase{
            "extra members ignored",
            R"({"x":1,"widthEd":{"data":"7"},"widthLabel1":{"data":"W"},"fine":{"data":true},"note":{"data":"N"},"bar":{"data":1}})",
            false, "7", true, "N"},
        RestoreCase{"fewer members", R"({"widthEd":{"data":"7"},"widthLabel1":{"data":"W"}})", true,
                    "7", false, "Note"},
        RestoreCase{
            "check box needs only its entry",
            R"({"widthEd":{"data":"7"},"widthLabel1":{"data":"W"},"fine":{},"note":{"data":"N"},"bar":{"data":1}})",
            false, "7", false, "N"},
        RestoreCase{
            "check box true only for JSON true",
            R"({"widthEd":{"data":"7"},"widthLabel1":{"data":"W"},"fine":{"data":"true"},"note":{"data":"N"},"bar":{"data":1}})",
            false, "7", false, "N"},
        RestoreCase{"wrong kind stops",
                    R"({"widthEd":{"data":"7"},"widthLabel1":{"data":5},"fine":{"data":true}})",
                    true, "7", false, "Note"},
        RestoreCase{"missing data stops", R"({"widthEd":{}})", true, "1", false, "Note"},
        RestoreCase{"not an object", R"([1,2])", true, "1", false, "Note"},
        RestoreCase{"not JSON", R"({"widthEd":)", true, "1", false, "Note"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return n;
    });

TEST(RestoreHostile, BrokenPrefixesFailWithoutChanges) {
    FieldValues form(kSmall);
    for (const std::string& bytes :
         {std::string("\x85"), std::string("\x10{}"), std::string("\xFF\xFF\xFF\xFF\xFF\x01{}"),
          std::string("\x05{\"a\xFF")}) {
        EXPECT_TRUE(restore_form_state(bytes, kSmall, form).has_value());
    }
    EXPECT_EQ(form.text("width"), "1");
    EXPECT_EQ(restore_form_state("", kSmall, form), std::nullopt) << "an empty file is valid";
}

TEST(RestoreHostile, FailuresAreSentencesOfOurOwn) {
    FieldValues form(kSmall);
    const struct {
        std::string bytes;
        const char* message;
    } cases[] = {
        {"\x85", "The file does not start with a valid length"},
        {"\x10{}", "The file ends after 2 of the 16 bytes its length announces"},
        {encode_state_file(R"({"widthEd":)"),
         "The state is not valid JSON text (the error is at byte 12)"},
        {encode_state_file("G01 X1"), "The state is not valid JSON text (the error is at byte 1)"},
        {encode_state_file("[]"), "The state is not a JSON object"},
        {encode_state_file(R"({"widthEd":[]})"), "Invalid data for component widthEd"},
        {encode_state_file(R"({"widthEd":{"data":{"data":"7"}}})"),
         "Invalid data for component widthEd"},
        {encode_state_file(R"({"widthEd":{"data":"7"}})"), "No entry for component widthLabel1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(restore_form_state(c.bytes, kSmall, form), c.message);
}

TEST(RestoreHostile, ManyExtraMembersAndDuplicates) {
    // Extra members of every shape before, between and after the real ones; a duplicate of a
    // real member counts with its last value, as any JSON reader takes it.
    std::string json = "{";
    for (int i = 0; i < 100'000; ++i)
        json += "\"x" + std::to_string(i) + "\":{\"data\":[" + std::to_string(i) + "]},";
    json += R"("widthEd":{"data":"1"},"widthEd":{"data":"7"},"widthLabel1":{"data":"W"},)";
    json += R"("fine":{"other":{"data":true},"data":true},"note":{"data":"N"},"bar":{"data":3},)";
    json += R"("deep":{"a":{"b":[{"data":"no"}]}}})";
    FieldValues form(kSmall);
    EXPECT_EQ(restore_form_state(encode_state_file(json), kSmall, form), std::nullopt);
    EXPECT_EQ(form.text("width"), "7");
    EXPECT_EQ(form.label("width"), "W");
    EXPECT_TRUE(form.checked("fine"));
    EXPECT_EQ(state_text_error(json), std::nullopt);
    EXPECT_EQ(state_text_error("{} x"),
              "The state is not valid JSON text (the error is at byte 4)");
}

TEST(StateDiagnostic, NamesTheWindowClass) {
    EXPECT_EQ(state_diagnostic("TOstrivane", "The state is not a JSON object"),
              "SaveStateHelper (TOstrivane): The state is not a JSON object");
}

}  // namespace
}  // namespace ostrivane
