// First-generation parameter read and write: one text command per setting.
#pragma once

#include "vkcfg.h"

namespace vkcfg::ops {

int TextReadSettings(const char* ip, const char* mac_text, VkaWorkBlock& block);
int TextWriteSettings(const char* ip, const char* mac_text, const VkaWorkBlock& block);

}  // namespace vkcfg::ops
