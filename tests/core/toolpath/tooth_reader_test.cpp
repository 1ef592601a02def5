#include "core/toolpath/tooth_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/text/error.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {
using test::error_of;

TEST(ToothFile, ReadsTheWritersLayoutAndLooserOnes) {
    // As the finger-joint tab writes it: the count, then 23-character reals.
    ToothFile written(
        "2\r\n 0.00000000000000E+0000\r\n 1.00000000000000E+0001\r\n"
        "-1.50000000000000E+0000\r\n",
        "a.tnd");
    EXPECT_EQ(written.read_count(), 2);
    EXPECT_EQ(written.read_number(), 0);
    EXPECT_EQ(written.read_number(), 10);
    EXPECT_EQ(written.read_number(), -1.5);

    // Leading blanks, LF or CR line ends, anything after the number ignored.
    ToothFile loose("  3 teeth\n\t12.5 mm\r.25\r\n", "b.tnd");
    EXPECT_EQ(loose.read_count(), 3);
    EXPECT_EQ(loose.read_number(), 12.5);
    EXPECT_EQ(loose.read_number(), 0.25);
}

TEST(ToothFile, SkippedLineNeedNotBeANumber) {
    ToothFile file("1\r\n10\r\n20\r\nnot a depth\r\n30\r\n", "c.tnd");
    file.read_count();
    file.read_number();
    file.read_number();
    file.skip_line();
    EXPECT_EQ(file.read_number(), 30);
    file.skip_line();  // past the end: nothing left to skip
}

TEST(ToothFile, DamageIsReportedWithFileAndLine) {
    EXPECT_EQ(error_of([] { ToothFile("two\r\n", "d.tnd").read_count(); }),
              "The tooth file d.tnd, line 1: 'two' is not a valid integer value");
    EXPECT_EQ(error_of([] { ToothFile("2.0\r\n", "d.tnd").read_count(); }),
              "The tooth file d.tnd, line 1: '2.0' is not a valid integer value");
    EXPECT_EQ(error_of([] {
                  ToothFile f("1\r\n1,5\r\n", "d.tnd");
                  f.read_count();
                  f.read_number();
              }),
              "The tooth file d.tnd, line 2: '1,5' is not a valid floating point value");
    EXPECT_EQ(error_of([] {
                  ToothFile f("99999999\r\n1\r\n", "d.tnd");
                  f.read_count();
                  f.read_number();
                  f.read_number();
              }),
              "The tooth file d.tnd ends at line 2, before all its teeth were read");
    EXPECT_EQ(error_of([] { ToothFile("", "d.tnd").read_count(); }),
              "The tooth file d.tnd ends at line 0, before all its teeth were read");
    // Bytes that no message box can show are written as \xNN, and long words are cut.
    EXPECT_EQ(error_of([] { ToothFile(std::string("\x01\xff\0x", 4), "d.tnd").read_count(); }),
              "The tooth file d.tnd, line 1: '\\x01\\xFF\\x00x' is not a valid integer value");
    EXPECT_EQ(error_of([] { ToothFile(std::string(100, '9') + "x", "d.tnd").read_count(); }),
              "The tooth file d.tnd, line 1: '" + std::string(40, '9') +
                  "...' is not a valid integer value");
}

TEST(ToothFile, AnyBytesGiveNumbersOrAnErrorNamingTheFile) {
    std::mt19937 random(20240611);
    const std::string alphabet = "0123456789 .-+eE\r\n\t;x";
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 60);
        for (int k = 0; k < length; ++k) {
            bytes += random() % 4 == 0 ? static_cast<char>(random() % 256)
                                       : alphabet[random() % alphabet.size()];
        }
        ToothFile file(bytes, "fuzz.tnd");
        try {
            const std::int32_t count = file.read_count();
            for (std::int64_t k = 0; k < std::min<std::int64_t>(count, 30) * 3; ++k)
                (k % 3 == 2 && random() % 2 == 0) ? file.skip_line() : void(file.read_number());
        } catch (const Error& e) {
            // The other allowed outcome: a refusal that names the file.
            EXPECT_EQ(std::string(e.what()).rfind("The tooth file fuzz.tnd", 0), 0u)
                << e.what();
        }
    }
}

TEST(ToothFile, JobRefusesWhatIsNoToothFileUnread) {
    test::EngineFixture f;
    const std::string file = f.tooth_file("1\r\n10\r\n20\r\n1\r\n");
    f.job(4.5, 50, false, 1, 3.2, file);
    f.profile({{0, 10}, {20, 14}, {40, 18}});
    // A pipe would hold the job, /dev/zero or a huge sparse file fill the memory.
    test::for_each_hostile_file(file, ToothFile::kMaxBytes, "a tooth file",
                                [&](std::string_view kind, const std::string& message) {
                                    SCOPED_TRACE(kind);
                                    EXPECT_EQ(error_of([&] { f.calculate(); }), message);
                                    EXPECT_EQ(f.engine->toth, nullptr);
                                });
}

}  // namespace
}  // namespace ostrivane
