// Device and file texts are bytes in the workstation's code page (GBK). The widgets show them and take
// typed texts back through the core's device-text codec, here and nowhere else, so that Torvane and
// vkctl read and write the same bytes.
#pragma once

#include <QString>
#include <string>

#include "core/text/device_text.h"

namespace torvane::ui {

// The bytes decoded from GBK; a byte that starts no character shows as U+FFFD.
QString DisplayText(const std::string& bytes);
// The device bytes of a typed text, or why the code page cannot hold it (DeviceTextEncoding::refusal).
DeviceTextEncoding DeviceBytes(const QString& text);

}  // namespace torvane::ui
