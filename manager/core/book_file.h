// DevInfo.dat, the address-book file: no header, no count, one 66-byte record per address-book row
// (the address text in 16 bytes, the device name in 50, each ended by a NUL and padded with zeros).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/replace_file.h"

namespace torvane {

inline constexpr const char* kBookFileName = "DevInfo.dat";
inline constexpr size_t kBookIpWidth = 16;
inline constexpr size_t kBookNameWidth = 50;
inline constexpr size_t kBookRecordSize = kBookIpWidth + kBookNameWidth;

struct BookEntry {
    std::string ip;
    std::string name;
};

// The record of an entry: each text cut to its field's length less one (15 and 49 bytes).
std::string EncodeBookRecord(const BookEntry& entry);

// Calls `each` with every whole record of the file in order; bytes after the last whole record are
// ignored. A missing file is created empty. Throws FileError when the file can be neither read nor
// created; the records handed out before the error stay handed out.
void ReadBookFile(const std::filesystem::path& path, const std::function<void(BookEntry)>& each);

// Replaces the file with the entries' records; throws FileError and leaves the old file as it was.
void WriteBookFile(const std::filesystem::path& path, const std::vector<BookEntry>& entries);

}  // namespace torvane
