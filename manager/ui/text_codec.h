// Device and file texts are bytes in the workstation's code page (GBK for the system's Chinese texts).
// This is the one place where they become display strings and where typed strings become bytes again.
#pragma once

#include <QString>
#include <string>

namespace torvane::ui {

// GBK when this Qt can decode it (through ICU), else Latin-1 (every byte stays one character).
QString DisplayText(const std::string& bytes);
// The inverse for texts the operator typed (address texts, mostly ASCII).
std::string DeviceBytes(const QString& text);

}  // namespace torvane::ui
