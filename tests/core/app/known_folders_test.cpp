#include "core/app/known_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

#include "core/text/error.h"
#include "core/text/file_io.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {
namespace fs = std::filesystem;
using test::error_of;

// Sets the folder variables for one test and puts the old values back afterwards.
class Environment {
  public:
    Environment() {
        for (const char* name : names) {
            if (const char* value = std::getenv(name))
                saved_[name] = value;
        }
    }
    ~Environment() {
        for (const char* name : names) {
            const auto it = saved_.find(name);
            if (it == saved_.end())
                ::unsetenv(name);
            else
                ::setenv(name, it->second.c_str(), 1);
        }
    }
    // Unset for nullopt.
    void set(const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

  private:
    static constexpr const char* names[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                            "XDG_DOCUMENTS_DIR"};
    std::map<std::string, std::string> saved_;
};

TEST(UserDirs, DocumentsEntry) {
    const fs::path home = "/home/anna";
    struct Case {
        const char* text;
        std::optional<fs::path> documents;
    };
    const Case cases[] = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", home / "Dokumente"},
        {"# written by xdg-user-dirs-update\n"
         "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
         "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n",
         home / "Dokumente"},
        {"XDG_DOCUMENTS_DIR=\"/data/anna/docs\"\r\n", fs::path("/data/anna/docs")},
        {"  XDG_DOCUMENTS_DIR = \"$HOME/My Documents\"  # spaces inside quotes\n",
         home / "My Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Say \\\"hi\\\"\"\n", home / "Say \"hi\""},
        {"XDG_DOCUMENTS_DIR=$HOME/Papers\n", home / "Papers"},
        {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", home},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", home},
        // The last entry counts.
        {"XDG_DOCUMENTS_DIR=\"$HOME/Old\"\nXDG_DOCUMENTS_DIR=\"$HOME/New\"\n", home / "New"},
        // Not an entry, or a value that names no folder we can find.
        {"", std::nullopt},
        {"# XDG_DOCUMENTS_DIR=\"$HOME/Commented\"\n", std::nullopt},
        {"XDG_DOCUMENTS_DIRS=\"$HOME/Other\"\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"Documents\"\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"${HOME}/x\"\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"$HOME/unterminated\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"/kept\"\nXDG_DOCUMENTS_DIR=\"relative\"\n", fs::path("/kept")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(user_dirs_documents(c.text, home), c.documents) << c.text;
    // Without a home, a $HOME entry names nothing; an absolute one still counts.
    EXPECT_EQ(user_dirs_documents("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", {}), std::nullopt);
    EXPECT_EQ(user_dirs_documents("XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", {}), fs::path("/srv/docs"));
}

struct Folders : ::testing::Test {
    Environment env;
    test::TempDir home;

    void SetUp() override {
        env.set("HOME", home.path().string());
        env.set("XDG_DATA_HOME", std::nullopt);
        env.set("XDG_CONFIG_HOME", std::nullopt);
        env.set("XDG_DOCUMENTS_DIR", std::nullopt);
    }
    void write_user_dirs(const fs::path& config, const std::string& text) {
        fs::create_directories(config);
        write_file_atomically(config / "user-dirs.dirs", text);
    }
};

TEST_F(Folders, DocumentsFromTheEnvironmentThenUserDirsThenHome) {
    EXPECT_EQ(documents_folder(), home / "Documents");

    write_user_dirs(home / ".config", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(documents_folder(), home / "Dokumente");

    // XDG_CONFIG_HOME moves the file; a relative one is not used.
    write_user_dirs(home / "cfg", "XDG_DOCUMENTS_DIR=\"/srv/anna\"\n");
    env.set("XDG_CONFIG_HOME", (home / "cfg").string());
    EXPECT_EQ(documents_folder(), fs::path("/srv/anna"));
    env.set("XDG_CONFIG_HOME", "cfg");
    EXPECT_EQ(documents_folder(), home / "Dokumente");

    env.set("XDG_DOCUMENTS_DIR", (home / "Papers").string());
    EXPECT_EQ(documents_folder(), home / "Papers");
    env.set("XDG_DOCUMENTS_DIR", "Papers");
    EXPECT_EQ(documents_folder(), home / "Dokumente");
}

TEST_F(Folders, HostileUserDirsFile) {
    // A huge file is read only as far as a real one could reach; a folder is no file at all.
    std::string text(1 << 20, '#');
    text += "\nXDG_DOCUMENTS_DIR=\"$HOME/Far\"\n";
    write_user_dirs(home / ".config", text);
    EXPECT_EQ(documents_folder(), home / "Documents");
    fs::remove(home / ".config" / "user-dirs.dirs");
    fs::create_directories(home / ".config" / "user-dirs.dirs");
    EXPECT_EQ(documents_folder(), home / "Documents");
    // A pipe would hold the program at its start.
    fs::remove(home / ".config" / "user-dirs.dirs");
    if (test::make_fifo(home / ".config" / "user-dirs.dirs"))
        EXPECT_EQ(documents_folder(), home / "Documents");
}

TEST_F(Folders, NoHomeIsRefusedNotResolvedAgainstTheWorkingFolder) {
    const std::string unset = "The home folder is not known: HOME is not set.";
    const std::string relative =
        "The home folder is not known: HOME (anna) is not an absolute path.";
    for (const auto& [value, message] :
         {std::pair<std::optional<std::string>, std::string>{std::nullopt, unset},
          {"", unset},
          {"anna", relative}}) {
        env.set("HOME", value);
        EXPECT_EQ(error_of([] { data_folder(); }), message);
        EXPECT_EQ(error_of([] { documents_folder(); }), message);
    }
    // What the variables name without a home still works.
    env.set("XDG_DATA_HOME", (home / "data").string());
    EXPECT_EQ(data_folder(), home / "data" / "Ostrivane");
    env.set("XDG_DOCUMENTS_DIR", (home / "docs").string());
    EXPECT_EQ(documents_folder(), home / "docs");
    env.set("XDG_DOCUMENTS_DIR", std::nullopt);
    write_user_dirs(home / "cfg", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    env.set("XDG_CONFIG_HOME", (home / "cfg").string());
    EXPECT_EQ(error_of([] { documents_folder(); }), relative);
}

TEST_F(Folders, DataFolder) {
    EXPECT_EQ(data_folder(), home / ".local" / "share" / "Ostrivane");
    env.set("XDG_DATA_HOME", "relative/share");
    EXPECT_EQ(data_folder(), home / ".local" / "share" / "Ostrivane");
}

TEST_F(Folders, MakeDocumentsFolderCreatesThatOneFolder) {
    make_documents_folder(home / "Dokumente");
    EXPECT_TRUE(fs::is_directory(home / "Dokumente"));
    make_documents_folder(home / "Dokumente");  // already there

    const std::string message = error_of([&] { make_documents_folder(home / "a" / "b"); });
    EXPECT_EQ(message.rfind(
                  "Cannot create the Documents folder " + (home / "a" / "b").string() + ": ", 0),
              0u)
        << message;
    EXPECT_FALSE(fs::exists(home / "a"));
    EXPECT_EQ(error_of([] { make_documents_folder({}); }),
              "The Documents folder is not known, so there is nowhere to write the file.");
}

}  // namespace
}  // namespace ostrivane
