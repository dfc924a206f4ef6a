// The files an update leaves in the program folder: the remembered paths and the backups.
#include <gtest/gtest.h>

#include <fstream>

#include "core/replace_file.h"
#include "core/update/backup_name.h"
#include "core/update/remembered_paths.h"
#include "platform/file_writer.h"
#include "support/image_builder.h"
#include "support/sandbox.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

PlatformFileWriter files;

std::string Text(const fs::path& path) {
    const auto bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(RememberedPaths, WrittenWithCrLfAndOfferedOnlyForAnExistingImage) {
    test::TempDir dir;
    const std::string image = (dir.path() / "fw.bin").string();
    test::WriteBytes(image, {1, 2, 3});

    WriteRememberedPaths(files, dir.path(), {image, "/web/page.bin"}, true);
    EXPECT_EQ(Text(dir.path() / "updatevkafile.txt"), image + "\r\n/web/page.bin\r\n");
    auto read = ReadRememberedPaths(dir.path());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->firmware, image);
    EXPECT_EQ(read->web, "/web/page.bin");

    WriteRememberedPaths(files, dir.path(), {image, "/web/page.bin"}, false);  // variant B: line 1 only
    EXPECT_EQ(Text(dir.path() / "updatevkafile.txt"), image + "\r\n");
    read = ReadRememberedPaths(dir.path());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->web, "");

    fs::remove(image);
    EXPECT_FALSE(ReadRememberedPaths(dir.path())) << "a deleted image offers neither path";
    EXPECT_FALSE(ReadRememberedPaths(dir.path() / "nowhere"));
}

TEST(BackupFiles, NamedByTheLocalSecondWithTheVariantsExtension) {
    std::tm t{};
    t.tm_year = 2024 - 1900, t.tm_mon = 0, t.tm_mday = 5, t.tm_hour = 23, t.tm_min = 4, t.tm_sec = 9;
    EXPECT_EQ(BackupStem(t), "20240105230409");
    EXPECT_STREQ(BackupExtension(UpdateVariant::kA), ".vka");
    EXPECT_STREQ(BackupExtension(UpdateVariant::kB), ".vkb");
    EXPECT_STREQ(BackupExtension(UpdateVariant::kC), ".vka");
}

TEST(BackupFiles, ASecondBackupInTheSameSecondGetsASuffixInsteadOfReplacingTheFirst) {
    test::TempDir dir;
    const auto first = files.AddNewFile(dir.path(), "20240105230409", ".vka", "one");
    const auto second = files.AddNewFile(dir.path(), "20240105230409", ".vka", "two");
    const auto third = files.AddNewFile(dir.path(), "20240105230409", ".vka", "three");
    EXPECT_EQ(first.filename(), "20240105230409.vka");
    EXPECT_EQ(second.filename(), "20240105230409-2.vka");
    EXPECT_EQ(third.filename(), "20240105230409-3.vka");
    EXPECT_EQ(Text(first), "one");
    EXPECT_EQ(Text(second), "two");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3)
        << "no temporary file is left";
}

TEST(BackupFiles, AFolderThatCannotTakeTheFileIsReportedWithPathAndReason) {
    test::TempDir dir;
    try {
        files.AddNewFile(dir.path() / "missing", "20240105230409", ".vkb", "data");
        FAIL() << "no error";
    } catch (const FileError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find((dir.path() / "missing" / "20240105230409.vkb").string()), std::string::npos)
            << what;
        EXPECT_NE(what.find("No such file or directory"), std::string::npos) << what;
    }
}

}  // namespace
}  // namespace torvane
