#include "core/book_file.h"

#include <fstream>

#include "core/device_record.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

void CreateEmpty(const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw FileError("Cannot create " + path.string());
}

}  // namespace

std::string EncodeBookRecord(const BookEntry& entry) {
    uint8_t record[kBookRecordSize];
    PutFieldText(record, kBookIpWidth, entry.ip);
    PutFieldText(record + kBookIpWidth, kBookNameWidth, entry.name);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

void ReadBookFile(const fs::path& path, const std::function<void(BookEntry)>& each) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        CreateEmpty(path);
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("Cannot read " + path.string());
    char record[kBookRecordSize];
    while (in.read(record, sizeof record)) {
        each(BookEntry{FieldText(record, kBookIpWidth), FieldText(record + kBookIpWidth, kBookNameWidth)});
    }
    if (in.bad()) throw FileError("Cannot read " + path.string());
}

void WriteBookFile(const fs::path& path, const std::vector<BookEntry>& entries) {
    std::string bytes;
    bytes.reserve(entries.size() * kBookRecordSize);
    for (const auto& e : entries)
        bytes += EncodeBookRecord(e);
    ReplaceFile(path, bytes);
}

}  // namespace torvane
