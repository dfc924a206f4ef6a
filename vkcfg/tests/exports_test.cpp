// The shared object exports exactly the C interface: every function of the header, nothing else
// (no C++ internals, not even weak template instances).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#ifndef VKCFG_SHARED_OBJECT
#error "VKCFG_SHARED_OBJECT must name the built libvkcfg"
#endif

namespace {

const std::set<std::string> kExports{
    "cal_crc",
    "vka_search_all",
    "vkb_search_all",
    "vk_search_all",
    "vka_search_one",
    "vkb_search_one",
    "vk_search_one",
    "vk_search_all_ex",
    "vka_login",
    "vkb_login",
    "vk_login",
    "vka_logout",
    "vkb_logout",
    "vk_logout",
    "vka_read_setting",
    "vka_write_setting",
    "vkb_read_setting",
    "vkb_write_setting",
    "vk_read_setting",
    "vk_write_setting",
    "vk_read_setting_ex",
    "vk_write_setting_ex",
    "vka_setting_baud",
    "vka_setting_parity",
    "vka_setting_databit",
    "vkb_setting_baud",
    "vkb_setting_parity",
    "vkb_setting_databit",
    "vk_setting_baud",
    "vk_setting_parity",
    "vk_setting_databit",
    "vk_get_device_type",
    "vk_get_device_code",
    "vk_get_device_com_number",
    "vk_get_device_uart_number",
    "vk_get_error_string",
};

// Symbols the platform's linker defines in every shared object.
const std::set<std::string> kLinkerSymbols{"_init", "_fini", "_edata", "_end", "__bss_start"};

std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
    std::set<std::string> out;
    std::string command = "nm -D --defined-only --format=posix '" + path + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string name(line);
        name = name.substr(0, name.find(' '));
        if (auto at = name.find('@'); at != std::string::npos) name.resize(at);
        if (!name.empty() && !kLinkerSymbols.count(name)) out.insert(name);
    }
    EXPECT_EQ(::pclose(pipe), 0) << "nm failed on " << path;
    return out;
}

}  // namespace

TEST(ExportedInterface, SymbolTableHoldsExactlyTheCInterface) {
    auto symbols = DefinedDynamicSymbols(VKCFG_SHARED_OBJECT);
    for (const auto& name : kExports)
        EXPECT_TRUE(symbols.count(name)) << "missing export " << name;
    for (const auto& name : symbols)
        EXPECT_TRUE(kExports.count(name)) << "symbol leaks from the library: " << name;
}

TEST(ExportedInterface, EveryExportResolvesAtRunTime) {
    void* lib = ::dlopen(VKCFG_SHARED_OBJECT, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << ::dlerror();
    for (const auto& name : kExports)
        EXPECT_NE(::dlsym(lib, name.c_str()), nullptr) << name;
    EXPECT_EQ(::dlsym(lib, "_ZN5vkcfg5codec5Crc16ESt4spanIKhLm18446744073709551615EE"), nullptr);
    ::dlclose(lib);
}
