// Requests as a configuration program sends them, built byte by byte in the tests from the protocol's
// tables (only the checksum comes from the simulator, whose CRC is checked on its own).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device_list.h"
#include "responder.h"
#include "wire.h"

namespace simtest {

using vksim::Bytes;

inline const vksim::ModelInfo& Model(const char* name) {
    return *vksim::FindModel(std::string(name));
}

inline vksim::Device NewDevice(const char* model, size_t index = 0) {
    return vksim::MakeDevice(Model(model), index);
}

// Appends the checksum of everything so far, low byte first.
inline Bytes Sealed(Bytes f) {
    const uint16_t crc = vksim::Crc16Bitwise(f.data(), f.size());
    f.push_back(static_cast<uint8_t>(crc & 0xFF));
    f.push_back(static_cast<uint8_t>(crc >> 8));
    return f;
}

inline bool Sealed(const Bytes& f, size_t size) {
    return f.size() == size && vksim::FrameChecksumOk(f);
}

inline void PutMac(Bytes& f, size_t at, const vksim::Mac& mac, bool scrambled) {
    for (size_t i = 0; i < 6; ++i)
        f.at(at + i) = static_cast<uint8_t>(scrambled ? mac[i] ^ 0xF3 : mac[i]);
}

inline void PutText(Bytes& f, size_t at, const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i)
        f.at(at + i) = static_cast<uint8_t>(s[i]);
}

// A 42-byte request: marker (0), tag (7), command (8), scrambled MAC (12..17), password (24..33).
inline Bytes Short(uint8_t marker, uint8_t tag, uint8_t command, const vksim::Mac& mac,
                   const std::string& password = "") {
    Bytes f(40, 0);
    f[0] = marker;
    f[7] = tag;
    f[8] = command;
    PutMac(f, 12, mac, true);
    PutText(f, 24, password);
    return Sealed(f);
}

inline Bytes Login(const vksim::Device& d, const std::string& password = "") {
    return Short(0x00, 0x57, 17, d.mac, password);
}
inline Bytes Logout(const vksim::Device& d) {
    return Short(0x00, 0, 21, d.mac);
}
inline Bytes Read(const vksim::Device& d, uint8_t command = 11) {
    return Short(0xFF, 0x57, command, d.mac);
}
inline Bytes Save(const vksim::Device& d) {
    return Short(0xFF, 0, 7, d.mac);
}

inline vksim::Request Binary(Bytes bytes, bool broadcast = false) {
    return {vksim::kBinaryPort, broadcast, std::move(bytes)};
}
inline vksim::Request Text(const std::string& text, bool broadcast = false) {
    return {vksim::kTextPort, broadcast, Bytes(text.begin(), text.end())};
}

inline std::vector<std::string> Texts(const std::vector<Bytes>& answers) {
    std::vector<std::string> out;
    for (const auto& a : answers)
        out.emplace_back(a.begin(), a.end());
    return out;
}

// A device with an open session, for the tests that are about what happens inside one.
inline vksim::Device LoggedIn(vksim::Device d) {
    if (d.model->generation == vksim::Generation::kText) {
        vksim::Respond(d, Text("L" + d.password + "|19"));
    } else {
        vksim::Respond(d, Binary(Login(d, d.password)));
    }
    return d;
}

}  // namespace simtest
