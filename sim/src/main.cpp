// vksim: runs a network of simulated VK devices on loopback until interrupted.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "demo_images.h"
#include "device_list.h"
#include "network.h"
#include "shared_table.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) {
    g_stop = 1;
}

constexpr const char* kUsage = R"(usage: vksim [options]
Runs simulated VK devices on loopback, each on its own 127.0.0.N, until interrupted.

Devices (without any of these, the demo network: one device of every model):
  --demo                 one device of every model
  --devices FILE         a device list, one device per line ("model=VKB302 addr=127.0.0.20 name=Line2")
  --device WORDS         one device, e.g. model=VKB200,addr=127.0.0.30,name=Pump (repeatable)
  --generate MODEL:N     N devices of MODEL with generated addresses and MACs (repeatable)
Faults, for every device (a device's own keys win):
  --loss P  --dup P  --corrupt P     probabilities from 0 to 1 (corrupt: a binary answer's checksum)
  --delay MS  --jitter MS            answer delay and its random extra
  --spread MS                        spread the devices' answers evenly over MS milliseconds
  --refuse-password                  every login is refused (text: "N|19"; binary: command 18 or 16)
  --refuse-writes                    parameter protection: text sets and serial commands answer "P",
                                     binary writes and serial settings answer one byte that is no frame
  --ignore-text-sends K              the first K sends of each text parameter request (G.., V, T, S..)
                                     go unanswered; X, W, L, O and the serial commands are answered
  --foreign-tag                      every tagged answer is preceded by one with another tag
                                     (text: the tag one lower; binary: byte 7 inverted)
  --cut N                            tagged binary answers (login, reads) are cut to N bytes (at least
                                     10) with a valid checksum: frames too short for their layout
  --pad N                            tagged binary answers are padded with zeros to N bytes, with a
                                     valid checksum: answers longer than the library's 2048-byte buffer
Other:
  --seed N               seed of the random faults (default 1)
  --broadcast ADDR       address at which broadcasts arrive (default $VKCFG_BROADCAST or 127.255.255.255)
  --allow-non-loopback   permit addresses outside 127.0.0.0/8 (only inside a private network namespace)
  --duration S           stop after S seconds
  --publish-table        publish the devices in the shared device table while running
  --table-entry WORDS    one more table entry, e.g. name=Pump,mac=00:1a:2b:3c:4d:5e,ip=10.0.0.5 (repeatable)
  --list                 print the devices and exit
  --print-state          when stopping, print every device's settings as device words ("state: model=...")
  --write-images DIR     write DIR/MODEL.bin for every model, a firmware image its devices take, and exit
  --verbose              print every request
Device keys: model addr ip mac name firmware netmask gateway dns1 dns2 user password requires_login
             work_mode dhcp protocol url_switch auto_dns network_mode keep_alive max_interval max_length
             option_a option_b
  per channel (port for channel 0, port1..port7 for the others):
             port peer peerport baud parity databits stopbits flow url
  faults:    loss dup delay jitter corrupt refuse_password refuse_writes ignore_text_sends foreign_tag cut
             pad
  update:    update_model new_firmware restart_ms n4 data_size damaged_at flip_at silent_after_restart
             lose_KIND refuse_KIND echo_KIND (KIND: identify read prepare write data restart poll; the
             value lists request numbers, e.g. lose_write=3/11/42: counted per kind from 1, resends
             included)
Sessions: a device keeps its own session. Parameter reads and writes need a login first unless
requires_login=0; a password of "" accepts the empty login (the default). Serial settings need none.
A binary write takes effect on SAVE; a logout drops a write that was not saved.
Refusals: text answers "N" (no session, wrong password), "P" (protected), "E" (a value the setting
does not take), each with the request's tag; binary answers carry the request's command plus one
(LOGIN 17 -> 18, READ 11 -> 12), except refused writes and serial settings (one byte, no frame).
Update: every device takes the firmware update on its text port (65535). VKA100 keeps 32 KiB of data
at 0x8000, VKB200 one 64 KiB memory for data and firmware, the others a paged data area (data_size,
16 KiB by default) whose length identify reports as N4 - 1024. A restart keeps the device silent for
restart_ms (300) and installs the firmware sent since the last one: the version becomes new_firmware
(V2.2), and except on VKB200 the data area is erased. update_model is the model text identify reports
(VKA100-S, else the model's name). damaged_at: a data read at that offset answers "damaged"; flip_at:
the firmware byte at that offset is stored inverted; echo_KIND: VKB200's write echo names another
address; refuse_KIND: status byte 2 = 1.
Models: VKA100 VKB220 VKB200 VKB301 VKB302 VKB303 VKB304 VKB308 VLC601 VLC602 VLC611 VLC621 EXT (0x83)
)";

// "--ignore-text-sends" names the fault key "ignore_text_sends".
std::string FaultKey(const std::string& option) {
    std::string key = option.substr(2);
    for (char& c : key) {
        if (c == '-') c = '_';
    }
    return key;
}

// Faults that are on or off take no value on the command line.
bool IsFlagFault(const std::string& option) {
    return option == "--refuse-password" || option == "--refuse-writes" || option == "--foreign-tag";
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "vksim: %s\n", message.c_str());
    return 2;
}

void PrintDevices(const std::vector<vksim::Device>& devices) {
    std::printf("%-8s %-5s %-16s %-20s %-10s %s\n", "MODEL", "CODE", "ADDRESS", "MAC", "NAME", "FIRMWARE");
    for (const auto& d : devices) {
        std::printf("%-8s 0x%02X  %-16s %-20s %-10s %s\n", d.model->name, d.model->code,
                    vksim::IpText(d.address).c_str(), vksim::MacDecimalText(d.mac).c_str(), d.name.c_str(),
                    d.firmware.c_str());
    }
}

std::string Hex(const vksim::Bytes& b) {
    std::string s;
    char buf[4];
    for (size_t i = 0; i < b.size() && i < 48; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", b[i]);
        s += buf;
    }
    return b.size() > 48 ? s + "..." : s;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    vksim::Faults faults;
    vksim::NetworkOptions options;
    if (const char* env = std::getenv("VKCFG_BROADCAST"); env && *env) {
        if (!vksim::ParseIp(env, options.broadcast))
            return Fail(std::string("VKCFG_BROADCAST=") + env + ": not an address");
    }
    std::vector<std::string> device_words, device_files, generate;
    bool demo = false, list_only = false, verbose = false, allow_non_loopback = false, print_state = false;
    int spread = 0;
    double duration = 0;
    bool publish_table = false;
    std::vector<std::string> table_entries;
    try {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= args.size()) throw vksim::ListError(a + " needs a value");
                return args[++i];
            };
            if (a == "-h" || a == "--help") {
                std::fputs(kUsage, stdout);
                return 0;
            } else if (a == "--demo") {
                demo = true;
            } else if (a == "--devices") {
                device_files.push_back(value());
            } else if (a == "--device") {
                device_words.push_back(value());
            } else if (a == "--generate") {
                generate.push_back(value());
            } else if (a == "--spread") {
                spread = std::atoi(value().c_str());
            } else if (a == "--seed") {
                options.seed = static_cast<uint32_t>(std::strtoul(value().c_str(), nullptr, 10));
            } else if (a == "--broadcast") {
                std::string v = value();
                if (!vksim::ParseIp(v, options.broadcast))
                    throw vksim::ListError("--broadcast " + v + ": not an address");
            } else if (a == "--allow-non-loopback") {
                allow_non_loopback = true;
            } else if (a == "--duration") {
                duration = std::atof(value().c_str());
            } else if (a == "--publish-table") {
                publish_table = true;
            } else if (a == "--table-entry") {
                table_entries.push_back(value());
            } else if (a == "--list") {
                list_only = true;
            } else if (a == "--verbose") {
                verbose = true;
            } else if (a == "--write-images") {
                for (const auto& path : vksim::WriteDemoImages(value()))
                    std::printf("%s\n", path.string().c_str());
                return 0;
            } else if (a == "--print-state") {
                print_state = true;
            } else if (IsFlagFault(a)) {
                vksim::SetFault(faults, FaultKey(a), "1");
            } else if (a.rfind("--", 0) == 0 &&
                       vksim::SetFault(faults, FaultKey(a), i + 1 < args.size() ? args[i + 1] : "")) {
                ++i;
            } else {
                return Fail("unknown option " + a + " (see --help)");
            }
        }

        std::vector<vksim::Device> devices;
        for (const auto& file : device_files) {
            std::ifstream in(file);
            if (!in) return Fail("cannot read " + file);
            auto more = vksim::ParseDeviceList(in, devices.size(), faults);
            devices.insert(devices.end(), more.begin(), more.end());
        }
        for (const auto& words : device_words)
            devices.push_back(vksim::ParseDeviceWords(words, devices.size(), faults));
        for (const auto& g : generate) {
            auto colon = g.find(':');
            const vksim::ModelInfo* model = vksim::FindModel(g.substr(0, colon));
            if (colon == std::string::npos || !model)
                throw vksim::ListError("--generate " + g + ": MODEL:N expected");
            auto more = vksim::GeneratedDevices(*model, std::strtoul(g.c_str() + colon + 1, nullptr, 10),
                                                devices.size(), faults);
            devices.insert(devices.end(), more.begin(), more.end());
        }
        if (demo || devices.empty()) {
            auto more = vksim::DemoNetwork(devices.size(), faults);
            devices.insert(devices.end(), more.begin(), more.end());
        }
        vksim::SpreadAnswers(devices, spread);

        if (!allow_non_loopback) {
            if (options.broadcast[0] != 127)
                return Fail("broadcast address outside 127.0.0.0/8 needs --allow-non-loopback");
            for (const auto& d : devices) {
                if (d.address[0] != 127)
                    return Fail(vksim::IpText(d.address) +
                                " is outside 127.0.0.0/8; needs --allow-non-loopback");
            }
        }
        PrintDevices(devices);
        if (list_only) return 0;

        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        vksim::Network network(devices, options);
        std::unique_ptr<vksim::SharedTablePublisher> table;
        if (publish_table) table = vksim::PublishTable(devices, table_entries);
        std::printf("vksim: ready, %zu devices, broadcasts at %s\n", devices.size(),
                    vksim::IpText(options.broadcast).c_str());
        std::fflush(stdout);
        auto started = vksim::Clock::now();
        size_t shown = 0;
        while (!g_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (verbose) {
                auto log = network.Requests();
                for (; shown < log.size(); ++shown) {
                    const auto& r = log[shown];
                    std::printf("request port %u to %s%s: %s\n", r.port, vksim::IpText(r.destination).c_str(),
                                r.broadcast ? " (broadcast)" : "", Hex(r.bytes).c_str());
                }
                std::fflush(stdout);
            }
            if (duration > 0 &&
                std::chrono::duration<double>(vksim::Clock::now() - started).count() >= duration)
                break;
        }
        for (size_t i = 0; print_state && i < network.size(); ++i)
            std::printf("state: %s\n", network.WithDevice(i, vksim::DeviceWords).c_str());
        auto s = network.stats();
        std::printf("vksim: stopped after %zu requests and %zu answers\n", s.requests, s.answers);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return 0;
}
