#include "support/recording_ui.h"

namespace torvane::test {
namespace {

const char* const kKinds[] = {"information", "warning", "error", "confirmation"};  // order of MessageKind
const char* const kButtons[] = {"OK", "Yes", "YesNo", "OKCancel"};                 // order of MessageButtons

}  // namespace

std::vector<std::string> RecordingUi::Lines(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& e : events) {
        if (e.rfind(prefix, 0) == 0) out.push_back(e.substr(prefix.size()));
    }
    return out;
}

void RecordingUi::SetWaitRange(int minimum, int maximum) {
    events.push_back("wait.range " + std::to_string(minimum) + " " + std::to_string(maximum));
}

void RecordingUi::ProcessMessages() {
    events.push_back("messages");
    if (during_messages) during_messages();
}

MessageResult RecordingUi::ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) {
    events.push_back(std::string("message ") + kKinds[static_cast<int>(kind)] + " " +
                     kButtons[static_cast<int>(buttons)] + " " + text);
    return buttons == MessageButtons::kYes || buttons == MessageButtons::kYesNo ? MessageResult::kYes
                                                                                : MessageResult::kOk;
}

AddressDialogResult RecordingUi::AskAddress(const std::string& caption, const std::string& initial_text) {
    events.push_back("dialog " + caption + " | " + initial_text);
    if (dialog_answers.empty()) return {};
    AddressDialogResult answer = dialog_answers.front();
    dialog_answers.pop_front();
    return answer;
}

std::optional<Credentials> RecordingUi::AskCredentials(const std::string& device_label) {
    events.push_back("login " + device_label);
    if (credential_answers.empty()) return std::nullopt;
    Credentials answer = credential_answers.front();
    credential_answers.pop_front();
    return answer;
}

int RecordingUi::ShowParamWindow(ParamSheet& sheet, std::span<uint8_t> block) {
    sheet.Show(block);
    events.push_back(std::string("window ") + kParaInfoCaption);
    if (in_param_window) in_param_window(sheet, block);
    return sheet.Modified;
}

int RecordingUi::ShowExParamWindow(ExParamSheet& sheet, std::span<uint8_t> block) {
    sheet.Show(block);
    events.push_back("window " + sheet.Caption());
    if (in_ex_param_window) in_ex_param_window(sheet, block);
    return sheet.Modified;
}

}  // namespace torvane::test
