#include "core/update/update_button.h"

#include <filesystem>

#include "core/update/update_run.h"

namespace torvane {
namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

void Tell(UpdateEngine& engine, MessageKind kind, const std::string& text) {
    engine.environment().ui.ShowMessage(kind, text, MessageButtons::kOk);
}

// The messages after an update with both options: the WEB file was written instead of the backup.
void EndBoth(UpdateEngine& engine, const UpdateOutcome& out) {
    switch (out.result) {
        case UpdateResult::kDone:
            Tell(engine, MessageKind::kInformation,
                 "The updating is complete,The target device's firmware versio is " + out.new_version);
            return;
        case UpdateResult::kInterrupted:
            Tell(engine, MessageKind::kError,
                 update_internal::OwnText("The updating is interrupted,Please do it again。"));
            return;
        case UpdateResult::kLoginFailed:
            Tell(engine, MessageKind::kError, "UserName or Password is invalid,The process is abort.");
            return;
        case UpdateResult::kUnchanged:
        case UpdateResult::kBackupSaved:
            Tell(engine, MessageKind::kInformation, "The updating process is fault,Please do it again");
            return;
    }
}

void EndFirmwareOnly(UpdateEngine& engine, const UpdateOutcome& out) {
    if (out.result == UpdateResult::kDone) {
        Tell(engine, MessageKind::kInformation,
             "The updating is complete,The target device's firmware version is " + out.new_version);
    } else if (out.result == UpdateResult::kInterrupted) {
        Tell(engine, MessageKind::kError,
             update_internal::OwnText("The updating is fault,the device's data is save in\r\n" +
                                      out.backup_path + "Pleas restore the data manually"));
    } else {
        Tell(engine, MessageKind::kInformation, "The updating process is fault!");
    }
}

}  // namespace

UpdateButtonOutcome Button1Click(UpdateEngine& engine, const std::string& ip, const UpdateFiles& files,
                                 const UpdateOptions& options) {
    std::error_code ec;
    std::filesystem::create_directories(engine.environment().backup_folder, ec);
    UpdateButtonOutcome done;
    if (!options.firmware && !options.web) {
        Tell(engine, MessageKind::kInformation, "The Option is invalid,Process is abort!");
        return done;
    }
    if (options.firmware && !FileExists(files.firmware_path)) {
        Tell(engine, MessageKind::kError, "The firmware file is not exist,Process is abort!");
        return done;
    }
    if (options.web && !FileExists(files.web_path)) {
        Tell(engine, MessageKind::kError, "The WEB file is not exist,Process is abort!");
        return done;
    }
    // A WEB file the data write will refuse must not wait until after the update: with both options
    // the backup is not written back, and the device would be left with an erased data area.
    const UpdateVariant variant = UpdateVariantFor(engine.login_record().model_code);
    if (const auto refusal = options.web ? update_internal::RefuseDataFileBeforeLogin(variant, files.web_path)
                                         : std::nullopt) {
        Tell(engine, MessageKind::kError, *refusal);
        return done;
    }
    if (!options.firmware) {
        done.data_write = engine.WriteDataFile(ip, files.web_path);
        Tell(engine, MessageKind::kInformation, "The WEB updating is complete.");
        return done;
    }
    done.update = engine.DoUpdate(ip, files);
    if (done.update->result == UpdateResult::kDone)
        done.data_write = engine.WriteDataFile(ip, options.web ? files.web_path : done.update->backup_path);
    if (options.web) {
        EndBoth(engine, *done.update);
    } else {
        EndFirmwareOnly(engine, *done.update);
    }
    return done;
}

}  // namespace torvane
