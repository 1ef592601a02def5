#include "core/app/state_file.h"

#include <gtest/gtest.h>

#include "core/app/form_state.h"

namespace ostrivane {
namespace {

TEST(ToothFileKey, KeptAfterTheStateRecord) {
    const std::string record = encode_state_file(R"({"a":{"data":"[tndfile]"}})");
    EXPECT_EQ(settings_file_bytes(record, std::nullopt), record);
    const std::string file = settings_file_bytes(record, std::string(R"(C:\jobs\slots.tnd)"));
    EXPECT_EQ(file, record + "[tndfile]\r\nname=C:\\jobs\\slots.tnd\r\n");
    EXPECT_EQ(read_ini_key(file, "tndfile", "name"), R"(C:\jobs\slots.tnd)");
    EXPECT_EQ(decode_state_file(file).json_text, R"({"a":{"data":"[tndfile]"}})");
}

TEST(ToothFileKey, ReplacedWhereItStands) {
    const std::string record = encode_state_file("{}");
    std::string file = write_ini_key(record, "tndfile", "name", "/a.tnd");
    file = write_ini_key(file + "[other]\r\nk=v\r\n", "tndfile", "name", "/b.tnd");
    EXPECT_EQ(file, record + "[tndfile]\r\nname=/b.tnd\r\n[other]\r\nk=v\r\n");
    EXPECT_EQ(read_ini_key(file, "TNDFILE", "Name"), "/b.tnd");
    EXPECT_EQ(read_ini_key(file, "other", "name"), std::nullopt);
}

TEST(ToothFileKey, EmptyAndPlainFiles) {
    EXPECT_EQ(read_ini_key("", "tndfile", "name"), std::nullopt);
    EXPECT_EQ(write_ini_key("", "tndfile", "name", ""), "[tndfile]\r\nname=\r\n");
    EXPECT_EQ(read_ini_key("[tndfile]\nname = x.tnd\n", "tndfile", "name"), "x.tnd");
}

}  // namespace
}  // namespace ostrivane
