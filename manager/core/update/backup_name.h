// Backups of a device's data area: files in the backup folder named by the local time of the update,
// "YYYYMMDDHHMMSS", with ".vka" (variants A and C) or ".vkb" (variant B). Their content is the raw
// bytes of the data area in address order.
#pragma once

#include <ctime>
#include <string>

#include "core/model_family.h"

namespace torvane {

inline constexpr const char* kBackupFolder = "imgfile";

// Four-digit year, then month, day, hour (00 to 23), minute and second in two digits each.
std::string BackupStem(const std::tm& local_time);

const char* BackupExtension(UpdateVariant variant);

}  // namespace torvane
