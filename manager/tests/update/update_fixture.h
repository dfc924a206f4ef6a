// The update engine against simulated devices over real UDP: the library's logins, the update's own
// socket, vksim's device side. The protocol's waits and pauses are shortened so that a silent device
// costs little; the devices answer within milliseconds.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/update/update_button.h"
#include "core/update/update_engine.h"
#include "device_list.h"
#include "network.h"
#include "platform/file_writer.h"
#include "platform/update_socket.h"
#include "support/image_builder.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"

namespace torvane::test {

using Lines = std::vector<std::string>;

class UpdateOverUdp : public ::testing::Test {
  protected:
    TempDir dir;
    RecordingUi ui;
    VkcfgLibrary library;
    PlatformFileWriter files;
    std::tm clock{};  // the local time the backups are named by; a test may hold it still
    bool clock_runs = true;
    std::unique_ptr<vksim::Network> net;

    // One simulated device from vksim's device words; it restarts quickly.
    void StartDevice(const std::string& words) {
        net.reset();  // its sockets must be gone before the next network binds them
        net = std::make_unique<vksim::Network>(
            std::vector<vksim::Device>{vksim::ParseDeviceWords("addr=127.0.0.20 restart_ms=20 " + words, 0)});
    }

    std::string Ip() const { return "127.0.0.20"; }

    UpdateEnvironment Environment() {
        UpdateTimings fast;
        fast.wait_ms = 200;
        fast.restart_pause_ms = 50;
        fast.poll_pause_ms = 10;
        std::filesystem::create_directories(dir.path() / "imgfile");
        return {library,    ui,
                files,      OpenUpdateSocket,
                dir.path(), dir.path() / "imgfile",
                fast,       [this] { return clock_runs ? LocalTimeNow() : clock; },
                SleepFor};
    }

    std::unique_ptr<UpdateEngine> Engine() {
        const auto d = Device();
        MacBytes mac;
        std::copy(d.mac.begin(), d.mac.end(), mac.begin());
        return std::make_unique<UpdateEngine>(Environment(), d.model->code, mac);
    }

    vksim::Device Device() {
        return net->WithDevice(0, [](vksim::Device& d) { return d; });
    }

    // Writes an image into the test's folder and returns its path.
    std::string Image(const ImageRecipe& recipe, const std::string& name = "fw.bin") {
        const auto path = (dir.path() / name).string();
        WriteBytes(path, BuildImage(recipe));
        return path;
    }

    static ImageRecipe RecipeFor(const std::string& model, size_t body) {
        ImageRecipe s;
        s.magic = model == "VKA100" || model == "VKB200" ? "BIN" : "B32";
        s.target_model = model == "VKA100" ? "VKA100-S" : model;
        s.file_size = 4096 + body;
        return s;
    }

    // The update requests the device heard, by their first two bytes ("FA F8", "F9 00", ...).
    Lines UpdateRequests() const {
        Lines out;
        for (const auto& r : net->Requests()) {
            if (r.port != 65535 || r.bytes.empty() || r.bytes[0] < 0xF5) continue;
            char text[8];
            std::snprintf(text, sizeof text, "%02X %02X", r.bytes[0], r.bytes.size() > 1 ? r.bytes[1] : 0);
            out.push_back(text);
        }
        return out;
    }

    size_t CountOf(const std::string& kind) const {
        const Lines all = UpdateRequests();
        return static_cast<size_t>(std::count(all.begin(), all.end(), kind));
    }

    Lines Messages() const { return ui.Lines("message "); }
};

}  // namespace torvane::test
