#include "ui/message_boxes.h"

#include "ui/application.h"
#include "ui/text_codec.h"

namespace torvane::ui {
namespace {

MessageBoxInterceptor& Interceptor() {
    static MessageBoxInterceptor interceptor;
    return interceptor;
}

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::kInformation:
            return QMessageBox::Information;
        case MessageKind::kWarning:
            return QMessageBox::Warning;
        case MessageKind::kError:
            return QMessageBox::Critical;
        case MessageKind::kConfirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::kOk:
            return QMessageBox::Ok;
        case MessageButtons::kYes:
            return QMessageBox::Yes;
        case MessageButtons::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageResult ResultOf(int button) {
    switch (button) {
        case QMessageBox::Yes:
            return MessageResult::kYes;
        case QMessageBox::No:
            return MessageResult::kNo;
        case QMessageBox::Cancel:
            return MessageResult::kCancel;
        default:
            return MessageResult::kOk;
    }
}

}  // namespace

MessageBoxInterceptor SetMessageBoxInterceptor(MessageBoxInterceptor interceptor) {
    return std::exchange(Interceptor(), std::move(interceptor));
}

MessageResult ShowMessageBox(QWidget* parent, MessageKind kind, const std::string& text,
                             MessageButtons buttons) {
    QMessageBox box(IconOf(kind), QString::fromLatin1(kApplicationTitle), DisplayText(text),
                    ButtonsOf(buttons), parent);
    if (Interceptor()) return ResultOf(Interceptor()(box));
    return ResultOf(box.exec());
}

}  // namespace torvane::ui
