// DevInfo.dat, the address-book file: no header, no count, one 66-byte record per address-book row
// (the address text in 16 bytes, the device name in 50, each ended by a NUL and padded with zeros).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
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
    friend bool operator==(const BookEntry&, const BookEntry&) = default;
};

// The largest DevInfo.dat read (about 250,000 entries): anything larger is no address book.
inline constexpr std::uintmax_t kBookFileLimit = 16u << 20;

// The record of an entry: each text cut to its field's length less one (15 and 49 bytes).
std::string EncodeBookRecord(const BookEntry& entry);

// The entries of the file's bytes, one per whole record in order; bytes after the last whole record
// are ignored. Each text is its field up to the first NUL, or the whole field without one.
std::vector<BookEntry> ParseBookRecords(std::string_view bytes);

// The entries of the file. A missing file is created empty (and the book is empty). Throws FileError
// naming the file and the reason when there is something at the path that is no readable file of at
// most kBookFileLimit bytes (a directory, a link to one or to nothing, a file without permission), or
// when a missing file cannot be created.
std::vector<BookEntry> ReadBookFile(const std::filesystem::path& path);

// The bytes of a file that holds the entries: their records in order.
std::string EncodeBookFile(const std::vector<BookEntry>& entries);

// Replaces the file with the entries' records; throws FileError and leaves the old file as it was.
void WriteBookFile(FileWriter& files, const std::filesystem::path& path,
                   const std::vector<BookEntry>& entries);

}  // namespace torvane
