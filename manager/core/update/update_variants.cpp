// UpdateVariantA, UpdateVariantB and UpdateVariantC. A and C share one shape (identify, model check,
// version gate, backup read, firmware blocks, restart, poll) and differ in data: their texts, frame
// sizes, addresses and the steps only one of them has.
#include <algorithm>

#include "core/update/image.h"
#include "core/update/remembered_paths.h"
#include "core/update/update_run.h"
#include "core/update/version.h"

namespace torvane::update_internal {
namespace {

constexpr size_t kWaitCapacity = 1024;
constexpr size_t kWaitCapacityC = 2048;
constexpr size_t kReadSizeA = 128;
constexpr uint8_t kReadCodeA = 0x80;
constexpr size_t kReadSizeC = 1024;
constexpr uint8_t kReadCodeC = 0x04;
constexpr uint32_t kHeaderOfN4 = 1024;
constexpr int kPollStepFa = 14;
constexpr int kPollStepB = 10;
constexpr size_t kBBlock = 512;

struct FaTexts {
    const char* offline;
    const char* unsupported;
    const char* version_too_low;
    const char* save_label;
    const char* damaged;
    const char* backup_failed;
    const char* update_label;
    const char* block_refused;  // the fifth failure of the firmware write was a refusal
    const char* block_failed;   // ... any other failure
};

// Where variants A and C differ.
struct FaVariant {
    UpdateVariant variant;
    size_t capacity;
    uint8_t read_code;
    size_t read_size;
    bool drain;
    bool prepare;
    FaTexts texts;
};

const FaVariant kVariantA{
    UpdateVariant::kA,
    kWaitCapacity,
    kReadCodeA,
    kReadSizeA,
    true,
    true,
    {"The target device is offline,Updating process is abort!",
     "The target device do not support updating,process is abort!",
     "The version of target device is to low,Updating process is abort!", "Save the device param...",
     "The struct of param is damage,press 'yes' to  continue.",
     "The updating process is fault,the device may be offline.", "Updating,Pleas wait...",
     "The updating is fault,Maybe the firmware file is damage!",
     "The updating process is fault,the device may be offline."}};

const FaVariant kVariantC{
    UpdateVariant::kC,
    kWaitCapacityC,
    kReadCodeC,
    kReadSizeC,
    false,
    false,
    {"The device is offline, Process is abort.",
     "The target device don't support updating,The updating process is abort.",
     "The version of target device is too low,The updating process is abort.",
     "Save the device's data to harddisk.", "The struct of param is damage,press'yes' to continue.",
     "The updating is fault,Maybe the device is offline.", "Upating,Please wait...",
     "The updating procces is fault,Maybe the firmware file is damage.",
     "The updating is fault,Maybe the device is offline."}};

constexpr const char* kPrepareFailedA = "Param Backup is fault,process is abort!";
constexpr const char* kBodyTooLargeC = "The size of file is too large,the updating process is abort.";
constexpr const char* kFaultB = "The updating is fault,Maybe the device is offline.";
constexpr const char* kReadBackDifferB = "The data is damage,The updating process must be done again.";
constexpr const char* kNoAnswerAfterRestartB =
    "The updating process is fault,You neet to power down the device,and power on again.";

bool ModelFits(UpdateVariant v, const std::string& model, const VariantInput& in) {
    if (v == UpdateVariant::kA) return model == "VKA100-S" || model == "VKA100-T";
    return model == in.files.shown_target_model.value_or(in.image.header.TargetModel());
}

// The length of the data area to save, or nothing (told) when variant C's device reports one that
// cannot be: N4 below 1024, or a data area larger than the 262,144 bytes a device can hold.
std::optional<size_t> BackupLength(UpdateRun& run, UpdateVariant v, const IdentifyAnswer& id) {
    if (v == UpdateVariant::kA) return kBackupSizeA;
    if (id.n4 < kHeaderOfN4 || id.n4 - kHeaderOfN4 > kMaxImageSizeC) {
        run.Fail("The device reports a data size that cannot be saved (N4 = " + std::to_string(id.n4) +
                 "),the updating process is abort.");
        return std::nullopt;
    }
    return id.n4 - kHeaderOfN4;
}

void CopyInto(std::vector<uint8_t>& target, size_t offset, std::span<const uint8_t> data, size_t limit) {
    const size_t n = std::min({data.size(), limit, target.size() - std::min(offset, target.size())});
    std::copy_n(data.begin(), n, target.begin() + static_cast<long>(offset));
}

// The backup read of the FA family. A damaged-data answer ends it early, told; the update goes on with
// the bytes read so far. False (told) when the phase failed.
bool ReadBackupFa(UpdateRun& run, const FaVariant& v, std::vector<uint8_t>& backup) {
    const BlockPlan plan = v.variant == UpdateVariant::kA ? BackupPlanA() : BackupPlanC(backup.size());
    const PhaseEnd end = RunPhase(run, plan, backup.size(), 0, [&](const Block& b) {
        const auto answer = run.Ask(ReadBlockRequest(b.field));
        if (!answer) return Attempt::kFailed;
        const ReadAnswer read = CheckReadAnswer(*answer, v.read_code, v.read_size);
        if (read.check == ReadCheck::kDamaged) return Attempt::kStop;
        if (read.check == ReadCheck::kInvalid) return Attempt::kFailed;
        CopyInto(backup, b.offset, read.data, b.length);
        return Attempt::kAccepted;
    });
    if (end.stopped) run.Fail(v.texts.damaged);
    if (end.completed || end.stopped) return true;
    run.Fail(v.texts.backup_failed);
    return false;
}

bool PrepareA(UpdateRun& run) {
    if (AskStatus(run, PrepareRequest()) == Attempt::kAccepted) return true;
    run.Fail(kPrepareFailedA);
    return false;
}

// Variant C sends blocks 1, 2, ... and then block 0 with a counter of its own.
bool WriteFirmwareFa(UpdateRun& run, const FaVariant& v, const std::vector<uint8_t>& body) {
    auto send = [&](const Block& b) {
        return AskStatus(run, FirmwareBlockRequest(b.field, BlockBytes(body, b)));
    };
    BlockPlan plan = v.variant == UpdateVariant::kA ? FirmwarePlanA(body.size()) : FirmwarePlanC(body.size());
    BlockPlan last;
    if (v.variant == UpdateVariant::kC && !plan.empty()) {
        last.push_back(plan.back());
        plan.pop_back();
    }
    PhaseEnd end = RunPhase(run, plan, body.size(), 0, send);
    if (end.completed && !last.empty()) {
        end = RunPhase(run, last, body.size(), body.size() - last.front().length, send);
        if (!end.completed) end.last_refused = false;  // block 0 has one message for every failure
    }
    if (end.completed) return true;
    run.Fail(end.last_refused ? v.texts.block_refused : v.texts.block_failed);
    return false;
}

// Restart, then the poll of identify requests until the device answers; its model and version are the
// new ones.
bool RestartAndPollFa(UpdateRun& run, UpdateOutcome& out) {
    run.progress().Position(0);
    run.Ask(RestartRequest());
    run.Pause(run.timings().restart_pause_ms);
    out.new_model.clear();
    out.new_version.clear();
    for (int i = 0; i < run.timings().poll_tries; ++i) {
        run.progress().Position(i * kPollStepFa);
        run.ui().ProcessMessages();
        const auto answer = run.Ask(IdentifyRequest());
        if (const auto id = answer ? ParseIdentifyAnswer(*answer) : std::nullopt) {
            out.new_model = id->model;
            out.new_version = id->version;
            return true;
        }
        run.Pause(run.timings().poll_pause_ms);
    }
    return false;
}

UpdateOutcome UpdateFa(const UpdateEnvironment& env, UpdateLink& link, const VariantInput& in,
                       const FaVariant& v) {
    UpdateOutcome out;
    const FirmwareImage& image = in.image;
    UpdateRun run(env, link, v.capacity);
    const auto answer = run.Ask(IdentifyRequest());
    const auto id = answer ? ParseIdentifyAnswer(*answer) : std::nullopt;
    if (!id) {
        run.Inform(v.texts.offline);
        return out;
    }
    if (!ModelFits(v.variant, id->model, in)) {
        run.Inform(v.texts.unsupported);
        return out;
    }
    if (!VersionGatePasses(image.header.MinimumVersion(), id->version)) {
        run.Inform(v.texts.version_too_low);
        return out;
    }
    const auto length = BackupLength(run, v.variant, *id);
    if (!length) return out;

    run.progress().Show(v.texts.save_label);
    if (v.drain) run.Drain();
    std::vector<uint8_t> backup(*length, 0);
    if (!ReadBackupFa(run, v, backup) || (v.prepare && !PrepareA(run))) return out;
    const auto path = SaveBackup(run, v.variant, backup);
    if (!path) return out;
    out.result = UpdateResult::kBackupSaved;
    out.backup_path = *path;

    if (v.variant == UpdateVariant::kC && !BodyLengthFitsC(image.file_size)) {
        run.Inform(kBodyTooLargeC);
        return out;
    }
    run.progress().Label(v.texts.update_label);
    run.progress().Position(0);
    out.result = UpdateResult::kInterrupted;
    if (!WriteFirmwareFa(run, v, image.body)) return out;
    if (RestartAndPollFa(run, out)) out.result = UpdateResult::kDone;
    return out;
}

// ---- Variant B ----------------------------------------------------------------------------------

// Reads the blocks of `plan` into `target` with B read requests; false when the phase failed.
bool ReadB(UpdateRun& run, const BlockPlan& plan, size_t total, std::vector<uint8_t>& target) {
    return RunPhase(run, plan, total, 0,
                    [&](const Block& b) {
                        const auto answer = run.Ask(BReadRequest(b.field));
                        const auto data = answer ? CheckBReadAnswer(*answer, kBBlock) : std::nullopt;
                        if (!data) return Attempt::kFailed;
                        CopyInto(target, b.offset, *data, kBBlock);
                        return Attempt::kAccepted;
                    })
        .completed;
}

bool WriteB(UpdateRun& run, const std::vector<uint8_t>& body) {
    return RunPhase(run, FirmwarePlanB(body.size()), body.size(), 0,
                    [&](const Block& b) { return AskBWrite(run, b.field, BlockBytes(body, b)); })
        .completed;
}

bool PollB(UpdateRun& run) {
    for (int i = 0; i < run.timings().poll_tries; ++i) {
        run.progress().Position(i * kPollStepB);
        run.ui().ProcessMessages();
        const auto answer = run.Ask(BPollRequest());
        if (answer && !answer->empty()) return true;
        run.Pause(run.timings().poll_pause_ms);
    }
    return false;
}

// The B family's poll answer says nothing about the device; a search of its address does.
std::string SearchedVersion(const UpdateEnvironment& env, const std::string& ip) {
    VkSearchRecord record{};
    if (env.library.vk_search_one(ip.c_str(), &record) != VK_OK) return {};
    const char* v = record.firmware_version;
    return std::string(v, std::find(v, v + sizeof record.firmware_version, '\0'));
}

}  // namespace

std::optional<FirmwareImage> AcceptImage(const UpdateEnvironment& env, UpdateVariant v,
                                         const UpdateFiles& files) {
    ImageCheck check = CheckImage(v, files.firmware_path);
    if (!check.image) {
        env.ui.ShowMessage(MessageKind::kError, check.refusal, MessageButtons::kOk);
        return std::nullopt;
    }
    WriteRememberedPaths(env.files, env.program_folder, {files.firmware_path, files.web_path},
                         v != UpdateVariant::kB);
    return std::move(check.image);
}

UpdateOutcome UpdateVariantA(const UpdateEnvironment& env, UpdateLink& link, const VariantInput& in) {
    return UpdateFa(env, link, in, kVariantA);
}

UpdateOutcome UpdateVariantC(const UpdateEnvironment& env, UpdateLink& link, const VariantInput& in) {
    return UpdateFa(env, link, in, kVariantC);
}

UpdateOutcome UpdateVariantB(const UpdateEnvironment& env, UpdateLink& link, const VariantInput& in) {
    UpdateOutcome out;
    const FirmwareImage& image = in.image;
    UpdateRun run(env, link, kWaitCapacity);
    run.progress().Show("Save the device data...");
    std::vector<uint8_t> backup(kBackupSizeB, 0);
    if (!ReadB(run, BackupPlanB(), backup.size(), backup)) {
        run.Fail(kFaultB);
        return out;
    }
    const auto path = SaveBackup(run, UpdateVariant::kB, backup);
    if (!path) return out;
    out.result = UpdateResult::kInterrupted;
    out.backup_path = *path;

    const std::vector<uint8_t>& body = image.body;
    run.progress().Label("Updating,Please wait...");
    run.progress().Position(0);
    if (!WriteB(run, body)) {
        run.Fail(kFaultB);
        return out;
    }
    run.progress().Label("Checking...");
    run.progress().Position(0);
    std::vector<uint8_t> read_back(body.size(), 0);
    if (!ReadB(run, FirmwarePlanB(body.size()), body.size(), read_back)) {
        run.Fail(kFaultB);
        return out;
    }
    if (read_back != body) {
        run.progress().Close();
        run.Fail(kReadBackDifferB);
        return out;
    }
    run.progress().Label("OK!,Pleas wait to complete...");
    run.Send(BRestartRequest());
    run.Pause(run.timings().restart_pause_ms);
    run.progress().Position(0);
    if (!PollB(run)) {
        run.progress().Close();
        run.Fail(kNoAnswerAfterRestartB);
        return out;
    }
    run.progress().Close();
    out.new_version = SearchedVersion(env, in.ip);
    out.result = UpdateResult::kDone;
    return out;
}

}  // namespace torvane::update_internal
