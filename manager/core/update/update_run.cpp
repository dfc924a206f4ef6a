#include "core/update/update_run.h"

#include <algorithm>

#include "core/replace_file.h"
#include "core/text/device_text.h"
#include "core/update/backup_name.h"

namespace torvane::update_internal {

void ProgressWindow::Show(const std::string& label) {
    ui_.ShowProgress(label);
    shown_ = true;
}

void ProgressWindow::Label(const std::string& label) {
    if (shown_) ui_.SetProgressLabel(label);
}

void ProgressWindow::Position(int position) {
    if (shown_) ui_.SetProgressPosition(std::clamp(position, 0, 100));
}

void ProgressWindow::Close() {
    if (shown_) ui_.CloseProgress();
    shown_ = false;
}

UpdateRun::UpdateRun(const UpdateEnvironment& env, UpdateLink& link, size_t capacity)
    : env_(env), link_(link), capacity_(capacity), progress_(env.ui) {}

bool UpdateRun::Send(const Frame& request) {
    return link_.Send(request);
}

std::optional<Frame> UpdateRun::Wait() {
    return link_.Receive(env_.timings.wait_ms, capacity_);
}

std::optional<Frame> UpdateRun::Ask(const Frame& request) {
    Send(request);
    return Wait();
}

void UpdateRun::Drain() {
    while (link_.Receive(env_.timings.drain_wait_ms, capacity_)) {
    }
}

void UpdateRun::Pause(int ms) {
    if (ms > 0) env_.pause(ms);
}

void UpdateRun::Inform(const std::string& text) {
    env_.ui.ShowMessage(MessageKind::kInformation, text, MessageButtons::kOk);
}

void UpdateRun::Fail(const std::string& text, MessageButtons buttons) {
    env_.ui.ShowMessage(MessageKind::kError, text, buttons);
}

PhaseEnd RunPhase(UpdateRun& run, const BlockPlan& plan, size_t total, size_t done_before,
                  const std::function<Attempt(const Block&)>& attempt) {
    int failures = 0;
    size_t done = done_before;
    for (const Block& block : plan) {
        for (;;) {
            run.ui().ProcessMessages();
            const Attempt a = attempt(block);
            if (a == Attempt::kStop) return {false, true, false};
            if (a == Attempt::kAccepted) break;
            if (++failures > kFailuresAllowed) return {false, false, a == Attempt::kRefused};
        }
        done += block.length;
        if (total > 0) run.progress().Position(static_cast<int>(std::min(done, total) * 100 / total));
    }
    return {true, false, false};
}

std::string OwnText(std::string_view utf8) {
    DeviceTextEncoding encoded = Utf8ToDeviceText(utf8);
    return encoded.ok ? std::move(encoded.bytes) : std::string(utf8);
}

Attempt AskStatus(UpdateRun& run, const Frame& request) {
    const auto answer = run.Ask(request);
    if (!answer) return Attempt::kFailed;
    switch (CheckStatusAnswer(*answer)) {
        case AnswerCheck::kAccepted:
            return Attempt::kAccepted;
        case AnswerCheck::kRefused:
            return Attempt::kRefused;
        case AnswerCheck::kInvalid:
            return Attempt::kFailed;
    }
    return Attempt::kFailed;
}

Attempt AskBWrite(UpdateRun& run, uint16_t address, std::span<const uint8_t> data) {
    const Frame request = BWriteRequest(address, data);
    const auto answer = run.Ask(request);
    return answer && CheckBWriteAnswer(*answer, request) ? Attempt::kAccepted : Attempt::kFailed;
}

std::vector<uint8_t> BlockBytes(const std::vector<uint8_t>& source, const Block& block) {
    std::vector<uint8_t> bytes(block.send_size, 0);
    const size_t available = block.offset < source.size() ? source.size() - block.offset : 0;
    const size_t n = std::min({block.length, block.send_size, available});
    std::copy_n(source.begin() + static_cast<long>(block.offset), n, bytes.begin());
    return bytes;
}

std::optional<std::string> SaveBackup(UpdateRun& run, UpdateVariant variant,
                                      const std::vector<uint8_t>& bytes) {
    const UpdateEnvironment& env = run.env();
    try {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return env.files
            .AddNewFile(env.backup_folder, BackupStem(env.local_time()), BackupExtension(variant), text)
            .string();
    } catch (const FileError& e) {
        run.Fail(OwnText(std::string("The device's data could not be saved. ") + e.what() +
                         ". The updating process is abort, no firmware was sent."));
        return std::nullopt;
    }
}

}  // namespace torvane::update_internal
