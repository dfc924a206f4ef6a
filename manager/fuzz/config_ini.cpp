// Config.ini: any text gives the three built-in protocol names and three user entries, each a part of
// the text.
#include <cstdint>
#include <string_view>

#include "core/protocol_names.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto names = ProtocolNamesOfIni(text);
    FUZZ_CHECK(names.size() == 6);
    FUZZ_CHECK(names[0] == "UDP" && names[1] == "TCP" && names[2] == "REAL_COM");
    for (size_t i = 3; i < names.size(); ++i)
        FUZZ_CHECK(text.find(names[i]) != std::string_view::npos);
    return 0;
}
