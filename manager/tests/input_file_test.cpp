// Reading the files of the program folder: whatever stands at the path, the reader answers at once
// with the bytes, "missing" or the reason, with real files in a temporary folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "core/input_file.h"
#include "support/sandbox.h"
#include "support/unreadable_files.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;
constexpr std::uintmax_t kLimit = 4096;

TEST(InputFile, ReadsRegularFilesAndLinksToThemAndTellsMissingFromUnreadable) {
    test::TempDir dir;
    const fs::path file = dir.path() / "readme.txt";
    std::ofstream(file, std::ios::binary) << std::string("a\0b", 3);
    fs::create_symlink("readme.txt", dir.path() / "link.txt");
    for (const char* name : {"readme.txt", "link.txt"}) {
        const InputFile f = ReadInputFile(dir.path() / name, kLimit);
        EXPECT_EQ(f.state, InputFile::State::kRead) << name;
        EXPECT_EQ(f.bytes, std::string("a\0b", 3)) << name;
    }
    EXPECT_EQ(ReadInputFile(dir.path() / "absent.txt", kLimit).state, InputFile::State::kMissing);
    std::ofstream(dir.path() / "limit.txt", std::ios::binary) << std::string(kLimit, 'x');
    EXPECT_EQ(ReadInputFile(dir.path() / "limit.txt", kLimit).bytes.size(), kLimit);
}

TEST(InputFile, EverythingThatIsNoReadableFileGivesItsReason) {
    for (const auto& c : test::kUnreadableCases) {
        test::TempDir dir;
        const fs::path path = dir.path() / "Config.ini";
        test::MakeUnreadable(c.kind, path, kLimit);
        const InputFile f = ReadInputFile(path, kLimit);
        EXPECT_EQ(f.state, InputFile::State::kUnreadable) << c.name;
        EXPECT_EQ(f.reason, test::ExpectedReason(c, kLimit)) << c.name;
        EXPECT_TRUE(f.bytes.empty()) << c.name;
        EXPECT_EQ(UnreadableMessage(path, f), "Cannot read " + path.string() + ": " + f.reason);
    }
}

TEST(InputFile, AFileWithoutReadPermissionGivesTheSystemsReason) {
    test::TempDir dir;
    const fs::path path = dir.path() / "DevInfo.dat";
    std::ofstream(path, std::ios::binary) << "x";
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    InputFile f;
    const std::string skip = test::RunWithoutFilePrivilege([&] { f = ReadInputFile(path, kLimit); });
    if (!skip.empty()) GTEST_SKIP() << skip;
    EXPECT_EQ(f.state, InputFile::State::kUnreadable);
    EXPECT_EQ(f.reason, "Permission denied");
}

}  // namespace
}  // namespace torvane
