// Device discovery: the broadcast searches of both generations, the extended search and the search of
// one address. Counts are in/out: capacity on entry, records filled on return.
#pragma once

#include <span>

#include "vkcfg.h"

namespace vkcfg::ops {

int SearchAllText(std::span<VkSearchRecord> records, int& count);
int SearchAllBinary(std::span<VkSearchRecord> records, int& count);
int SearchAll(std::span<VkSearchRecord> records, int& count);
int SearchAllExtended(std::span<VkSearchRecordEx> slots, int& count);

int SearchOneText(const char* ip, VkSearchRecord& record);
int SearchOneBinary(const char* ip, VkSearchRecord& record);
int SearchOne(const char* ip, VkSearchRecord& record);

}  // namespace vkcfg::ops
