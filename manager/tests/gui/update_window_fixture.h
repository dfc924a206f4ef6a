// The update window on its own, over the real library and the update's own UDP socket, against
// simulated devices on loopback (or a scripted channel). The protocol's waits are shortened; the
// devices restart within milliseconds.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "device_list.h"
#include "gui/gui_support.h"
#include "network.h"
#include "platform/file_writer.h"
#include "platform/update_socket.h"
#include "support/image_builder.h"
#include "support/sandbox.h"
#include "ui/update/form_update.h"

namespace torvane::test {

// Waits short enough that a silent device costs a few seconds at most.
inline UpdateTimings FastUpdateTimings() {
    UpdateTimings fast;
    fast.wait_ms = 200;
    fast.restart_pause_ms = 50;
    fast.poll_pause_ms = 10;
    return fast;
}

// An image that the device of `model` takes, of `body` body bytes.
inline ImageRecipe ImageFor(const std::string& model, size_t body = 3000) {
    ImageRecipe s;
    s.magic = model == "VKA100" || model == "VKB200" ? "BIN" : "B32";
    s.target_model = model == "VKA100" ? "VKA100-S" : model;
    s.file_size = 4096 + body;
    return s;
}

class UpdateWindowGui : public ::testing::Test {
  protected:
    TempDir dir;
    VkcfgLibrary library;
    PlatformFileWriter files;
    std::unique_ptr<vksim::Network> net;
    std::unique_ptr<ui::TFormUpdate> window;

    // One simulated device at 127.0.0.20 from vksim's device words.
    void StartDevice(const std::string& words) {
        window.reset();
        net.reset();  // its sockets must be gone before the next network binds them
        net = std::make_unique<vksim::Network>(
            std::vector<vksim::Device>{vksim::ParseDeviceWords("addr=127.0.0.20 restart_ms=20 " + words, 0)});
    }
    vksim::Device Device() {
        return net->WithDevice(0, [](vksim::Device& d) { return d; });
    }

    // Shows the window for the device of `model_code` at `ip` and waits until FormShow has run.
    void Open(uint8_t model_code, const std::string& ip, UpdateLinkOpener opener = OpenUpdateSocket) {
        window = std::make_unique<ui::TFormUpdate>(
            ui::UpdateWindowDeps{library, files, std::move(opener), dir.path(), FastUpdateTimings(), true},
            UpdateTarget{model_code, ip, {}}, nullptr);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->Opened(); }, 10000));
    }

    std::string Image(const ImageRecipe& recipe, const std::string& name) {
        const auto path = (dir.path() / name).string();
        WriteBytes(path, BuildImage(recipe));
        return path;
    }

    // The backups in the program folder's imgfile.
    std::vector<std::string> Backups() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(dir.path() / "imgfile", ec))
            out.push_back(e.path().string());
        return out;
    }
};

// The texts of the boxes shown, in order.
inline std::vector<std::string> Texts(const MessageBoxRecorder& boxes) {
    std::vector<std::string> out;
    for (const auto& b : boxes.boxes)
        out.push_back(b.text.toStdString());
    return out;
}

}  // namespace torvane::test
