#include "update_commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/text/device_text.h"
#include "core/update/backup_name.h"
#include "core/update/update_button.h"
#include "device_resolution.h"
#include "image_output.h"
#include "output.h"
#include "platform/file_writer.h"
#include "platform/program_folder.h"
#include "platform/update_socket.h"
#include "terminal.h"

namespace vkctl {
namespace {

namespace fs = std::filesystem;
using torvane::DataWriteResult;
using torvane::UpdateResult;

// Everything one run of the engine needs, made from the command line.
class EngineRun {
  public:
    EngineRun(const std::string& device_text, const std::string& backup_dir,
              const std::optional<torvane::Credentials>& given)
        : device_(ResolveDevice(library_, device_text)),
          engine_(Environment(backup_dir), device_.session.model_code, device_.session.mac) {
        if (given) {
            PutText(engine_.login_record().user_name, given->user_name);
            PutText(engine_.login_record().password, given->password);
        }
    }

    torvane::UpdateEngine& engine() { return engine_; }
    // The address the update talks to: the one given, or the one a MAC's device reported.
    std::string ip() const { return device_.session.ip.empty() ? device_.ip : device_.session.ip; }

  private:
    template <size_t N>
    static void PutText(char (&field)[N], const std::string& text) {
        std::memset(field, 0, N);
        std::memcpy(field, text.data(), std::min(text.size(), N - 1));
    }

    torvane::UpdateEnvironment Environment(const std::string& backup_dir) {
        const fs::path program = torvane::ProgramFolder();
        const fs::path backups = backup_dir.empty() ? program / torvane::kBackupFolder : fs::path(backup_dir);
        return {library_,         ui_,     files_, torvane::OpenUpdateSocket,
                program,          backups, {},     torvane::LocalTimeNow,
                torvane::SleepFor};
    }

    torvane::VkcfgLibrary library_;
    TerminalUi ui_;
    torvane::PlatformFileWriter files_;
    Device device_;
    torvane::UpdateEngine engine_;
};

ExitStatus StatusOfDataWrite(DataWriteResult r) {
    switch (r) {
        case DataWriteResult::kWritten:
            return ExitStatus::kOk;
        case DataWriteResult::kLoginRefused:
            return ExitStatus::kPasswordRefused;
        case DataWriteResult::kBlocksFailed:
            return ExitStatus::kDataWriteFailed;
        case DataWriteResult::kLoginFailed:
        case DataWriteResult::kNoFile:
        case DataWriteResult::kRefusedFile:
        case DataWriteResult::kBusy:
            return ExitStatus::kUpdateStopped;
    }
    return ExitStatus::kFailure;
}

ExitStatus StatusOfUpdate(const torvane::UpdateButtonOutcome& done) {
    if (!done.update)
        return done.data_write ? StatusOfDataWrite(*done.data_write) : ExitStatus::kUpdateStopped;
    switch (done.update->result) {
        case UpdateResult::kDone:
            return done.data_write == DataWriteResult::kWritten ? ExitStatus::kOk
                                                                : ExitStatus::kDataWriteFailed;
        case UpdateResult::kLoginFailed:
            return ExitStatus::kPasswordRefused;
        case UpdateResult::kInterrupted:
            return ExitStatus::kUpdateInterrupted;
        case UpdateResult::kUnchanged:
        case UpdateResult::kBackupSaved:
            return ExitStatus::kUpdateStopped;
    }
    return ExitStatus::kFailure;
}

void PrintUpdateJson(const torvane::UpdateButtonOutcome& done) {
    const torvane::UpdateOutcome out = done.update.value_or(torvane::UpdateOutcome{});
    nlohmann::ordered_json j;
    j["result"] = static_cast<int>(out.result);
    j["backup"] = out.backup_path;
    j["new_model"] = torvane::DeviceTextToUtf8(out.new_model);
    j["new_version"] = torvane::DeviceTextToUtf8(out.new_version);
    j["data_written"] = done.data_write == DataWriteResult::kWritten;
    std::fputs(DumpJson(j).c_str(), stdout);
}

std::optional<uint8_t> ModelCode(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    char* end = nullptr;
    const long code = std::strtol(text->c_str(), &end, 0);
    if (text->empty() || *end != '\0' || code < 0 || code > 0xFF)
        throw Failure(ExitStatus::kUsage,
                      "--model-code " + *text + ": a number from 0 to 255 (or 0x00 to 0xFF)");
    return static_cast<uint8_t>(code);
}

}  // namespace

ExitStatus RunUpdate(const UpdateCommand& c, const std::optional<torvane::Credentials>& given) {
    EngineRun run(c.device, c.backup_dir, given);
    const torvane::UpdateFiles files{c.firmware.value_or(""), c.web.value_or(""), std::nullopt};
    const auto done =
        torvane::Button1Click(run.engine(), run.ip(), files, {c.firmware.has_value(), c.web.has_value()});
    // With a WEB file the closing message of an interrupted update does not name the backup.
    if (done.update && done.update->result == UpdateResult::kInterrupted && c.web)
        std::fprintf(stderr, "vkctl: the device's data is saved in %s\n", done.update->backup_path.c_str());
    if (c.json) PrintUpdateJson(done);
    return StatusOfUpdate(done);
}

ExitStatus RunWriteData(const std::string& device, const std::string& file,
                        const std::optional<torvane::Credentials>& given) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(file), ec))
        throw Failure(ExitStatus::kUpdateStopped, "no file at " + file);
    EngineRun run(device, "", given);
    return StatusOfDataWrite(run.engine().WriteDataFile(run.ip(), file));
}

ExitStatus RunImage(const std::string& path, const std::optional<std::string>& model_code_text, bool json) {
    const auto model_code = ModelCode(model_code_text);
    const auto report = torvane::InspectImage(path);
    if (!report) throw Failure(ExitStatus::kUpdateStopped, "cannot read " + path);
    if (json) {
        std::fputs(DumpJson(ImageReportJson(path, *report, model_code)).c_str(), stdout);
    } else {
        std::fputs(FormatImageReport(path, *report, model_code).c_str(), stdout);
    }
    if (!model_code) return ExitStatus::kOk;
    for (const auto& verdict : report->variants) {
        if (verdict.variant != torvane::UpdateVariantFor(*model_code) || !verdict.refusal) continue;
        std::fprintf(stderr, "vkctl: %s\n", verdict.refusal->c_str());
        return ExitStatus::kUpdateStopped;
    }
    return ExitStatus::kOk;
}

}  // namespace vkctl
