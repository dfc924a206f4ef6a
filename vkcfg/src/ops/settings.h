// The unified parameter calls: the generation and the record's layout follow the login's model code.
#pragma once

#include "codec/addr_text.h"
#include "vkcfg.h"

namespace vkcfg::ops {

int ReadSetting(const char* ip, const codec::MacBytes& mac, VkParamRecord& record, const LoginRecord& login);
int WriteSetting(const char* ip, const codec::MacBytes& mac, const VkParamRecord& record,
                 const LoginRecord& login);

}  // namespace vkcfg::ops
