#include "core/update/backup_name.h"

#include <cstdio>

namespace torvane {

std::string BackupStem(const std::tm& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

const char* BackupExtension(UpdateVariant variant) {
    return variant == UpdateVariant::kB ? ".vkb" : ".vka";
}

}  // namespace torvane
