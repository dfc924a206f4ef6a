// Where the manager keeps its files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/program_folder.h"
#include "support/sandbox.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolder, TorvaneHomeThenAWritableExecutableFolderThenTheUsersDataFolder) {
    const fs::path exe = "/opt/torvane/bin";
    auto writable = [](const fs::path&) { return true; };
    auto read_only = [](const fs::path&) { return false; };
    const struct {
        ProgramFolderInputs in;
        bool exe_writable;
        fs::path expected;
    } cases[] = {
        {{"/srv/tv", "/x", "/home/u", exe}, true, "/srv/tv"},
        {{"/srv/tv", "/x", "/home/u", exe}, false, "/srv/tv"},
        {{std::nullopt, "/x", "/home/u", exe}, true, exe},
        {{"", "/x", "/home/u", exe}, true, exe},  // an empty variable counts as unset
        {{std::nullopt, "/x", "/home/u", exe}, false, "/x/torvane"},
        {{std::nullopt, "", "/home/u", exe}, false, "/home/u/.local/share/torvane"},
        {{std::nullopt, std::nullopt, "/home/u", ""}, true, "/home/u/.local/share/torvane"},
        {{std::nullopt, std::nullopt, std::nullopt, exe}, false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseProgramFolder(c.in, c.exe_writable ? std::function<bool(const fs::path&)>(writable)
                                                           : std::function<bool(const fs::path&)>(read_only)),
                  c.expected)
            << c.expected;
    }
}

TEST(ProgramFolder, TorvaneHomeIsUsedAndCreated) {
    test::TempDir dir;
    const fs::path home = dir.path() / "a" / "b";
    ::setenv("TORVANE_HOME", home.c_str(), 1);
    const fs::path folder = ProgramFolder();
    ::unsetenv("TORVANE_HOME");
    EXPECT_EQ(folder, home);
    EXPECT_TRUE(fs::is_directory(home));
}

}  // namespace
}  // namespace torvane
