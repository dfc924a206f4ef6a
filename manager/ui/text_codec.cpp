#include "ui/text_codec.h"

namespace torvane::ui {

QString DisplayText(const std::string& bytes) {
    return QString::fromStdString(DeviceTextToUtf8(bytes));
}

DeviceTextEncoding DeviceBytes(const QString& text) {
    return Utf8ToDeviceText(text.toStdString());
}

}  // namespace torvane::ui
