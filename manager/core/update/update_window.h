// The update window's logic without widgets: what the window shows when it opens (the remembered
// paths, the header of the image they name, the device's own model and version), the header of the
// last image loaded for display, and the "Updating" button over the update engine. TFormUpdate shows
// these texts and forwards its handlers here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/address_text.h"
#include "core/update/backup_name.h"
#include "core/update/image.h"
#include "core/update/remembered_paths.h"
#include "core/update/update_button.h"
#include "core/update/update_engine.h"

namespace torvane {

inline constexpr const char* kUnknownDeviceType = "Unknown Type";
inline constexpr const char* kUnknownDeviceVersion = "Unknown Version";
inline constexpr const char* kNoIdentifyAnswer = "Not ack from target device,the device may be offline.";

// What the main window hands to the update window for the selected row.
struct UpdateTarget {
    uint8_t model_code = 0;  // byte 0 of the row's record: chooses the update variant
    std::string ip;          // the row's "IP Address" text
    MacBytes mac{};          // from the row's record, for the logins
};

// The five text fields of an image header as the window shows them (device bytes).
struct HeaderTexts {
    std::string version;          // "Version:"
    std::string date_time;        // "DateTime:"
    std::string target_model;     // "Target Dev."
    std::string minimum_version;  // "Target Ver."
    std::string description;      // "descriptions"

    bool operator==(const HeaderTexts&) const = default;
};
HeaderTexts TextsOf(const ImageHeader& header);

// What the window shows once it has opened.
struct WindowOpening {
    std::optional<RememberedPaths> paths;  // into the firmware and WEB path boxes, when offered
    std::string device_type;               // the device's model text, or "Unknown Type"
    std::string device_version;            // its firmware version text, or "Unknown Version"
};

// The folder a file dialog starts in: that of the path in the box; empty (the dialog's own choice)
// for an empty box.
std::string DialogFolder(const std::string& path);

class UpdateWindow {
  public:
    UpdateWindow(UpdateEnvironment environment, const UpdateTarget& target);

    // FormShow: the login record back to the model code and empty texts, the remembered paths (the
    // header of their image loaded for display), then the identify request to `ip`. A device that
    // gives fewer than 33 bytes counts as not answering: "Unknown Type", "Unknown Version" and one
    // error box.
    WindowOpening FormShow(const std::string& ip);

    // A firmware file chosen: its first 1116 bytes replace the shown header when it is longer than
    // that; otherwise (a short or unreadable file) the header shown before stays.
    void LoadHeader(const std::string& path);
    HeaderTexts ShownHeader() const { return TextsOf(header_); }

    // Button1Click with the boxes' texts. Variant C compares the device's model with the target model
    // shown; before any header was shown, with the image's own.
    UpdateButtonOutcome Button1Click(const std::string& ip, const std::string& firmware_path,
                                     const std::string& web_path, const UpdateOptions& options);

    // True while an update or a data write runs (window messages run meanwhile).
    bool running() const { return engine_.running(); }
    UpdateEngine& engine() { return engine_; }

  private:
    UpdateEngine engine_;
    uint8_t model_code_;
    ImageHeader header_{};  // zeros: empty texts until a header is loaded
    bool header_loaded_ = false;
};

}  // namespace torvane
