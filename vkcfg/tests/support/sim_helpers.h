// Small helpers shared by the integration tests that run the library against the simulator.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "device_list.h"
#include "network.h"
#include "support/text_fields.h"
#include "vkcfg.h"

namespace vktest {

inline const vksim::ModelInfo& Model(const char* name) {
    return *vksim::FindModel(std::string(name));
}

inline std::string Ip(const vksim::Device& d) {
    return vksim::IpText(d.address);
}
inline std::string MacText(const vksim::Device& d) {
    return vksim::MacDecimalText(d.mac);
}

inline LoginRecord LoginFor(const vksim::Device& d, const char* password = "") {
    LoginRecord login{};
    login.model_code = d.model->code;
    std::strncpy(login.password, password, sizeof login.password);
    return login;
}

// The requests the simulator saw on one port, in order.
inline std::vector<vksim::LoggedRequest> RequestsOn(const vksim::Network& net, uint16_t port) {
    std::vector<vksim::LoggedRequest> out;
    for (const auto& r : net.Requests()) {
        if (r.port == port) out.push_back(r);
    }
    return out;
}

inline std::string TextOf(const vksim::LoggedRequest& r) {
    return std::string(r.bytes.begin(), r.bytes.end());
}

}  // namespace vktest
