// What `torvane --report` prints: the rows of the device list after the start-up sequence, one line
// each with tab-separated fields (caption, MAC, IP address, name, version, Location, image index),
// then "startup-done <rows>". Texts are the raw bytes, with "\" "\t" "\n" "\r" escaped as \\ \t \n \r.
#pragma once

#include <string>

#include "core/device_list.h"

namespace torvane {

std::string RowsReport(const DeviceList& list);

}  // namespace torvane
