// Login and logout of both generations. The session lives in the device; the library keeps nothing.
#pragma once

#include "codec/addr_text.h"
#include "vkcfg.h"

namespace vkcfg::ops {

int TextLogin(const char* ip, const char* mac_text, const LoginRecord& login);
int TextLogout(const char* ip);
int BinaryLogin(const char* ip, const codec::MacBytes& mac, const LoginRecord& login);
int BinaryLogout(const char* ip, const codec::MacBytes& mac);

int Login(const char* ip, const codec::MacBytes& mac, const LoginRecord& login);
int Logout(const char* ip, const codec::MacBytes& mac, const LoginRecord& login);

// True for the model codes that speak the first-generation text protocol (0x01, 0x20).
bool IsTextModel(uint8_t model_code);

}  // namespace vkcfg::ops
