#include "core/toolpath/saw_outline.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/app/known_folders.h"
#include "core/text/error.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

struct OutlineCase {
    const char* name;
    const char* text;
    std::vector<SawRec> records;
};

TEST(SawOutline, ReadsPairsOfLines) {
    const OutlineCase cases[] = {
        {"comment then a pair", "// guard\r\n-10;5\r\n0;40\r\n", {{-10, 5, 0, 40}}},
        {"blanks around numbers, LF only", " 1.5 ; -2 \n3;4e1\n", {{1.5, -2, 3, 40}}},
        {"first corner on the last line", "// x\r\n7;8", {{7, 8, 7, 8}}},
        {"second line without a semicolon",
         "1;2\r\n\r\n3;4\r\n5;6\r\n",
         {{1, 2, 0, 0}, {3, 4, 5, 6}}},
        {"numbers with a note are a comment", "1;2 // note\r\n3;4\r\n5;6\r\n", {{3, 4, 5, 6}}},
        {"empty file", "", {}},
        {"lines without semicolons only", "hello\r\n\r\n", {}},
    };
    for (const OutlineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SawOutline outline = parse_saw_outline(c.text);
        ASSERT_EQ(outline.count_saw_rec, static_cast<int>(c.records.size()));
        for (std::size_t k = 0; k < c.records.size(); ++k)
            EXPECT_EQ(outline.saw_rec[static_cast<int>(k) + 1], c.records[k]);
    }
}

std::string error_of(std::string_view text) {
    return test::error_of([&] { parse_saw_outline(text); });
}

TEST(SawOutline, RefusesWhatNoSawHas) {
    EXPECT_EQ(error_of("1;2\r\n1,5;3\r\n"), "line 2: '1,5' is not a valid floating point value");
    EXPECT_EQ(error_of("1;2;3\r\n4;5\r\n"), "line 1: '2;3' is not a valid floating point value");
    // The second line of a pair is read as it is, comment or not.
    EXPECT_EQ(error_of("1;2\r\n3;4 //\r\n"), "line 2: '4 //' is not a valid floating point value");
    EXPECT_EQ(error_of("1;nan\r\n"), "line 1: 'nan' is not a valid floating point value");
    EXPECT_EQ(error_of("1;2\r\n1e300;3\r\n"), "line 2: 1e300 mm is beyond any saw");

    std::string hundred;
    for (int k = 0; k < SawOutline::kMaxRecords; ++k)
        hundred += "1;2\r\n3;4\r\n";
    EXPECT_EQ(parse_saw_outline(hundred).count_saw_rec, SawOutline::kMaxRecords);
    EXPECT_EQ(error_of(hundred + "5;6\r\n7;8\r\n"), "more than 100 outline records (line 201)");
}

struct Logged {
    std::vector<std::pair<std::string, bool>> lines;
    MainLog sink() {
        return [this](std::string_view text, bool critical) {
            lines.push_back({std::string(text), critical});
        };
    }
};

TEST(SawOutline, MissingFileMeansTheBladeAlone) {
    test::TempDir data;
    Logged log;
    const SawOutline outline = read_saw(data.path(), log.sink());
    EXPECT_EQ(outline.count_saw_rec, 0);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].first,
              with_separator(data.path()) +
                  "saw_def.txt does not exist (containing boundary definition for interference "
                  "check). For this reason assuming sawblade only");
    EXPECT_TRUE(log.lines[0].second);
}

TEST(SawOutline, BadFileIsLoggedAndIgnored) {
    test::TempDir data;
    std::ofstream(data / "saw_def.txt") << "//\r\n-10;5\r\n0;forty\r\n";
    Logged log;
    const SawOutline outline = read_saw(data.path(), log.sink());
    EXPECT_EQ(outline.count_saw_rec, 0);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].first, with_separator(data.path()) +
                                      "saw_def.txt, line 3: 'forty' is not a valid floating "
                                      "point value. For this reason assuming sawblade only");
    EXPECT_TRUE(log.lines[0].second);

    std::ofstream(data / "saw_def.txt", std::ios::trunc) << "-10;5\r\n0;40\r\n";
    log.lines.clear();
    EXPECT_EQ(read_saw(data.path(), log.sink()).count_saw_rec, 1);
    EXPECT_TRUE(log.lines.empty());
}

TEST(SawOutline, WhatIsNoOutlineFileIsLoggedUnread) {
    test::TempDir data;
    // A pipe would hold the editor's opening, /dev/zero or a huge file fill the memory.
    test::for_each_hostile_file(data / "saw_def.txt", 1 << 20, "a saw outline",
                                [&](std::string_view kind, const std::string& message) {
                                    SCOPED_TRACE(kind);
                                    Logged log;
                                    EXPECT_EQ(read_saw(data.path(), log.sink()).count_saw_rec, 0);
                                    ASSERT_EQ(log.lines.size(), 1u);
                                    EXPECT_EQ(log.lines[0].first,
                                              message + " For this reason assuming sawblade only");
                                    EXPECT_TRUE(log.lines[0].second);
                                });
}

}  // namespace
}  // namespace ostrivane
