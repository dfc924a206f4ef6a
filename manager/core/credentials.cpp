#include "core/credentials.h"

#include "core/text/device_text.h"

namespace torvane {

CredentialText CheckCredential(std::string_view typed) {
    const DeviceTextEncoding encoded = Utf8ToDeviceText(typed);
    if (!encoded.ok) return {false, {}, encoded.refusal};
    if (encoded.bytes.size() > kMaxCredentialBytes || encoded.bytes.find('|') != std::string::npos)
        return {false, {}, kCredentialRule};
    return {true, encoded.bytes, {}};
}

}  // namespace torvane
