// Message boxes of the UI port. Tests put an interceptor in place that is handed each box, fully built
// (kind, text, buttons), instead of the box being shown, and answers it.
#pragma once

#include <QMessageBox>
#include <functional>
#include <string>

#include "core/ui_port.h"

namespace torvane::ui {

using MessageBoxInterceptor = std::function<QMessageBox::StandardButton(QMessageBox&)>;

// Replaces the interceptor (an empty one shows boxes again); returns the previous one.
MessageBoxInterceptor SetMessageBoxInterceptor(MessageBoxInterceptor interceptor);

// A modal box over `parent` with the application's title (kApplicationTitle) as its caption.
MessageResult ShowMessageBox(QWidget* parent, MessageKind kind, const std::string& text,
                             MessageButtons buttons);

}  // namespace torvane::ui
