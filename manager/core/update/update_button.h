// The update window's "Updating" button: which of the update and the data write run, with which file,
// and the message that ends them. Torvane and vkctl decide alike through this one function.
#pragma once

#include <optional>
#include <string>

#include "core/update/update_engine.h"

namespace torvane {

struct UpdateOptions {
    bool firmware = true;  // "Firmware": update the firmware
    bool web = false;      // "WEB": write the WEB file
};

// What the button ran, beyond the messages the operator saw.
struct UpdateButtonOutcome {
    std::optional<UpdateOutcome> update;        // DoUpdate ran
    std::optional<DataWriteResult> data_write;  // WriteDataFile ran
};

// Button1Click: makes the backup folder, checks the options and the files, runs DoUpdate and then
// WriteDataFile (the WEB file, or else the backup the update saved), and shows the closing message.
UpdateButtonOutcome Button1Click(UpdateEngine& engine, const std::string& ip, const UpdateFiles& files,
                                 const UpdateOptions& options);

}  // namespace torvane
