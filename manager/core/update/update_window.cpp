#include "core/update/update_window.h"

#include <cstring>
#include <filesystem>

namespace torvane {

HeaderTexts TextsOf(const ImageHeader& header) {
    return {header.Version(), header.DateTime(), header.TargetModel(), header.MinimumVersion(),
            header.Description()};
}

std::string DialogFolder(const std::string& path) {
    if (path.empty()) return {};
    return std::filesystem::path(path).parent_path().string();
}

UpdateWindow::UpdateWindow(UpdateEnvironment environment, const UpdateTarget& target)
    : engine_(std::move(environment), target.model_code, target.mac), model_code_(target.model_code) {}

WindowOpening UpdateWindow::FormShow(const std::string& ip) {
    LoginRecord& login = engine_.login_record();
    std::memset(&login, 0, sizeof login);
    login.model_code = model_code_;

    WindowOpening opening;
    opening.paths = ReadRememberedPaths(engine_.environment().program_folder);
    if (opening.paths) LoadHeader(opening.paths->firmware);

    if (const auto id = engine_.AskIdentity(ip)) {
        opening.device_type = id->model;
        opening.device_version = id->version;
    } else {
        opening.device_type = kUnknownDeviceType;
        opening.device_version = kUnknownDeviceVersion;
        engine_.environment().ui.ShowMessage(MessageKind::kError, kNoIdentifyAnswer, MessageButtons::kOk);
    }
    return opening;
}

void UpdateWindow::LoadHeader(const std::string& path) {
    if (const auto header = LoadHeaderForDisplay(path)) {
        header_ = *header;
        header_loaded_ = true;
    }
}

UpdateButtonOutcome UpdateWindow::Button1Click(const std::string& ip, const std::string& firmware_path,
                                               const std::string& web_path, const UpdateOptions& options) {
    UpdateFiles files{firmware_path, web_path, std::nullopt};
    if (header_loaded_) files.shown_target_model = header_.TargetModel();
    return torvane::Button1Click(engine_, ip, files, options);
}

}  // namespace torvane
