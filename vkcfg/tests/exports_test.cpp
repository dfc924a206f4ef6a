// The shared object exports exactly the C interface: every function of the header, nothing else
// (no C++ internals, not even weak template instances).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "interface/exports_list.h"

#ifndef VKCFG_SHARED_OBJECT
#error "VKCFG_SHARED_OBJECT must name the built libvkcfg"
#endif

namespace {

const std::set<std::string> kExports{
#define VKCFG_EXPORT_NAME(result, name, params, argc) #name,
    VKCFG_EXPORTS(VKCFG_EXPORT_NAME)
#undef VKCFG_EXPORT_NAME
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
    ASSERT_EQ(kExports.size(), size_t{VKCFG_EXPORT_COUNT});
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
