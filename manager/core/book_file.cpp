#include "core/book_file.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "checked/reader.h"
#include "core/device_record.h"
#include "core/input_file.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

void CreateEmpty(const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    if (!out)
        throw FileError("Cannot create " + path.string() + ": " + std::generic_category().message(errno));
}

}  // namespace

std::string EncodeBookRecord(const BookEntry& entry) {
    uint8_t record[kBookRecordSize];
    PutFieldText(record, kBookIpWidth, entry.ip);
    PutFieldText(record + kBookIpWidth, kBookNameWidth, entry.name);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

std::vector<BookEntry> ParseBookRecords(std::string_view bytes) {
    checked::Reader in(bytes.data(), bytes.size());
    std::vector<BookEntry> entries;
    std::string_view ip, name;
    while (in.FetchFieldText(kBookIpWidth, ip)) {
        if (!in.FetchFieldText(kBookNameWidth, name)) break;  // a partial record at the end
        entries.push_back(BookEntry{std::string(ip), std::string(name)});
    }
    return entries;
}

std::vector<BookEntry> ReadBookFile(const fs::path& path) {
    const InputFile file = ReadInputFile(path, kBookFileLimit);
    switch (file.state) {
        case InputFile::State::kMissing:
            CreateEmpty(path);
            return {};
        case InputFile::State::kUnreadable:
            throw FileError(UnreadableMessage(path, file));
        case InputFile::State::kRead:
            break;
    }
    return ParseBookRecords(file.bytes);
}

std::string EncodeBookFile(const std::vector<BookEntry>& entries) {
    std::string bytes;
    bytes.reserve(entries.size() * kBookRecordSize);
    for (const auto& e : entries)
        bytes += EncodeBookRecord(e);
    return bytes;
}

void WriteBookFile(FileWriter& files, const fs::path& path, const std::vector<BookEntry>& entries) {
    files.ReplaceFile(path, EncodeBookFile(entries));
}

}  // namespace torvane
