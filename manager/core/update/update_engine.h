// The firmware update of one device and the writing of a file into its data area, as the update
// window runs them: DoUpdate (login, then UpdateVariantA, B or C by the model code) and WriteDataFile.
// Everything runs on the caller's thread; the operator sees the progress window, message boxes and
// the login dialog through the UI port, whose pending window messages run before every block.
//
// One engine serves one update window (or one vkctl run): it owns the LoginRecord, whose texts typed
// in the login dialog stay for its life, and the datagram channel of the last exchange.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/address_text.h"
#include "core/device_library.h"
#include "core/replace_file.h"
#include "core/ui_port.h"
#include "core/update/update_frames.h"
#include "core/update/update_link.h"
#include "vkcfg.h"

namespace torvane {

// Where a DoUpdate ended.
enum class UpdateResult : int32_t {
    kDone = 0,         // firmware written and the device answered after its restart
    kUnchanged = 1,    // ended before the backup was saved; no firmware block was sent
    kBackupSaved = 2,  // backup saved, firmware not sent
    kInterrupted = 3,  // ended after the backup was saved; the device may hold incomplete firmware
    kLoginFailed = 4,  // login failed
};

struct UpdateOutcome {
    UpdateResult result = UpdateResult::kUnchanged;
    std::string backup_path;  // the backup written in this run, or empty
    std::string new_model;    // what the device reported after its restart (A and C)
    std::string new_version;  // ... (B: what a search of its address reports)
};

// How a data write ended (the update window shows no result; vkctl's exit status needs one).
enum class DataWriteResult {
    kWritten,       // every block was accepted (an empty file: nothing to send)
    kLoginRefused,  // the user name or password was refused twice
    kLoginFailed,   // the login failed otherwise
    kNoFile,        // no file at the path
    kRefusedFile,   // the file is too large for the variant
    kBlocksFailed,  // a block failed five times
    kBusy,          // another exchange of this engine was running
};

// What the window hands to DoUpdate besides the device.
struct UpdateFiles {
    std::string firmware_path;
    std::string web_path;  // remembered with the firmware path
    // Variant C compares the device's model with the target model of the header shown in the window;
    // without one shown, with the checked image's own.
    std::optional<std::string> shown_target_model;
};

// The protocol's waits and pauses; tests and benchmarks may shorten them.
struct UpdateTimings {
    int wait_ms = 1000;           // every wait for an answer
    int drain_wait_ms = 1;        // each wait of the drain before variant A's backup read
    int restart_pause_ms = 1000;  // after the restart request
    int poll_pause_ms = 200;      // after a poll try without an answer
    int poll_tries = 15;
};

struct UpdateEnvironment {
    DeviceLibrary& library;  // vk_login, vk_logout, vk_search_one
    UiPort& ui;
    FileWriter& files;  // the backups and updatevkafile.txt
    UpdateLinkOpener open_link;
    std::filesystem::path program_folder;  // holds updatevkafile.txt
    std::filesystem::path backup_folder;   // receives the backups (the program folder's imgfile)
    UpdateTimings timings;
    std::function<std::tm()> local_time;  // names the backups; the workstation's local time
    std::function<void(int ms)> pause;    // the protocol's pauses; a sleep
};

// The environment's defaults for the parts tests replace: local time and sleeping.
std::tm LocalTimeNow();
void SleepFor(int ms);

// What a device answered to identify at the window's opening: at least 33 bytes.
struct DeviceIdentity {
    std::string model;
    std::string version;
};

class UpdateEngine {
  public:
    // For the device of `model_code` (it chooses the variant); `mac`, from the device's record, goes
    // into the MAC position of vk_login and vk_logout.
    UpdateEngine(UpdateEnvironment environment, uint8_t model_code, const MacBytes& mac);
    ~UpdateEngine();
    UpdateEngine(const UpdateEngine&) = delete;
    UpdateEngine& operator=(const UpdateEngine&) = delete;

    // The window's LoginRecord: the model code and empty texts when the engine is made; the login
    // dialog's texts are kept in it. A caller with known credentials may put them in before a run.
    LoginRecord& login_record() { return login_; }

    // The identify request of the window's opening: the device's model and version when it answered
    // with at least 33 bytes within one wait.
    std::optional<DeviceIdentity> AskIdentity(const std::string& ip);

    // The update of the device at the address text `ip`. While an exchange runs (the window's
    // messages run during it), a second start is refused with result 1 and nothing sent.
    UpdateOutcome DoUpdate(const std::string& ip, const UpdateFiles& files);

    // Two logins, the write variant of the model code with the file at `path`, one logout.
    DataWriteResult WriteDataFile(const std::string& ip, const std::string& path);

    bool running() const { return running_; }
    const UpdateEnvironment& environment() const { return env_; }

  private:
    class Busy;
    struct LoginOutcome {
        int result = 0;
        bool refused_twice = false;  // refused, asked, refused again: logged out and told
    };
    LoginOutcome Login(const std::string& ip);
    void Logout(const std::string& ip);
    void RefuseSecondStart();

    UpdateEnvironment env_;
    MacBytes mac_;
    LoginRecord login_{};
    std::unique_ptr<UpdateLink> link_;
    bool running_ = false;
};

}  // namespace torvane
