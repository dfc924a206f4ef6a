// WriteDataA, WriteDataB and WriteDataC: a file into the device's data area, block by block. The three
// share one shape and differ in their limits, frames, addresses and texts.
#include <filesystem>

#include "core/update/image.h"
#include "core/update/update_run.h"

namespace torvane::update_internal {
namespace {

constexpr size_t kWaitCapacity = 1024;

struct DataVariant {
    const char* label;
    uint64_t largest_file;
    const char* too_large;
    MessageButtons too_large_buttons;
    const char* block_failed;
    BlockPlan (*plan)(size_t file_size);
    bool b_family;
};

const DataVariant kDataA{"Resume the data...",
                         0x8000,
                         "下载文件长度过长，无法下载。",
                         MessageButtons::kYes,
                         "升级失败，确认转换器在线后重新升级。",
                         DataPlanA,
                         false};

constexpr uint64_t kLargestFileB = 0xFFFF;
constexpr const char* kTooLargeB =
    "The file is longer than 65535 bytes and cannot be written,Process is abort.";

// The B family's count of bytes is 16 bits wide: a longer file is refused before any block goes out.
const DataVariant kDataB{"Resume the device's data...",
                         kLargestFileB,
                         kTooLargeB,
                         MessageButtons::kOk,
                         "The process is fault,Maybe the deivce is offline.",
                         DataPlanB,
                         true};

const DataVariant kDataC{"resume the data of device...",
                         0x40000,
                         "The size of file is too large,Updating is abort.",
                         MessageButtons::kYes,
                         "The updating is fault,Maybe the device is offline.",
                         DataPlanC,
                         false};

Attempt WriteBlock(UpdateRun& run, const DataVariant& v, const std::vector<uint8_t>& file, const Block& b) {
    const std::vector<uint8_t> bytes = BlockBytes(file, b);
    return v.b_family ? AskBWrite(run, b.field, bytes) : AskStatus(run, DataBlockRequest(b.field, bytes));
}

DataWriteResult WriteData(const UpdateEnvironment& env, UpdateLink& link, const std::string& path,
                          const DataVariant& v) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec)) return DataWriteResult::kNoFile;
    UpdateRun run(env, link, kWaitCapacity);
    run.progress().Show(v.label);
    const auto file = ReadFileBytes(path, v.largest_file + 1);
    if (!file) return DataWriteResult::kNoFile;
    if (file->size > v.largest_file) {
        run.Fail(OwnText(v.too_large), v.too_large_buttons);
        return DataWriteResult::kRefusedFile;
    }
    const BlockPlan plan = v.plan(file->bytes.size());
    const size_t total = plan.empty() ? 0 : plan.back().offset + plan.back().length;
    const PhaseEnd end =
        RunPhase(run, plan, total, 0, [&](const Block& b) { return WriteBlock(run, v, file->bytes, b); });
    if (end.completed) return DataWriteResult::kWritten;
    run.Fail(OwnText(v.block_failed));
    return DataWriteResult::kBlocksFailed;
}

}  // namespace

std::optional<std::string> RefuseDataFileBeforeLogin(UpdateVariant variant, const std::string& path) {
    if (variant != UpdateVariant::kB) return std::nullopt;
    std::error_code ec;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), ec);
    if (ec || size <= kLargestFileB) return std::nullopt;
    return std::string(kTooLargeB);
}

DataWriteResult WriteDataA(const UpdateEnvironment& env, UpdateLink& link, const std::string& path) {
    return WriteData(env, link, path, kDataA);
}

DataWriteResult WriteDataB(const UpdateEnvironment& env, UpdateLink& link, const std::string& path) {
    return WriteData(env, link, path, kDataB);
}

DataWriteResult WriteDataC(const UpdateEnvironment& env, UpdateLink& link, const std::string& path) {
    return WriteData(env, link, path, kDataC);
}

}  // namespace torvane::update_internal
