// A device's side of the firmware update, on its text port: identify, reads and writes of the data
// area, firmware blocks, prepare, restart, and the B family's frames with their CRC. Requests of the
// FA family end with the 16-bit byte sum, B family requests with the CRC-16, both high byte first.
// A request whose check value is wrong, or that the device does not know, goes unanswered.
#include <algorithm>
#include <array>
#include <optional>

#include "handlers.h"

namespace vksim {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr uint8_t kLead = 0xFA;
constexpr uint8_t kRead = 0xF9;
constexpr uint8_t kWrite = 0xF8;
constexpr uint8_t kRestart = 0xF7;
constexpr uint8_t kDataWrite = 0xF6;
constexpr uint8_t kPrepare = 0xF5;
constexpr std::array<uint8_t, 6> kRestartKey{0x11, 0x22, 0x33, 0x44, 0x55, 0x66};

constexpr size_t kTextWidth = 16;
constexpr uint8_t kErased = 0xFF;

// The first family: data area at 0x8000..0xFFFF, read 128 bytes at a time.
constexpr uint16_t kFirstDataBase = 0x8000;
constexpr size_t kFirstDataSize = 0x8000;
constexpr size_t kFirstReadSize = 128;
constexpr uint8_t kFirstReadCode = 0x80;
// The paged family: 1024-byte reads, firmware blocks of 1280 bytes, one per four pages.
constexpr size_t kPage = 256;
constexpr size_t kPagedReadSize = 1024;
constexpr uint8_t kPagedReadCode = 0x04;
constexpr size_t kPagedBlock = 1280;
constexpr size_t kPagedCapacity = 0x40000;
constexpr uint32_t kPagedHeader = 1024;
// The B family: one 64 KiB memory, read 512 bytes at a time.
constexpr size_t kBMemorySize = 0x10000;
constexpr size_t kBReadSize = 512;

enum class Family { kFirst, kB, kPaged };

Family FamilyOf(const Device& d) {
    if (d.model->code == 0x01) return Family::kFirst;
    if (d.model->code == 0x10) return Family::kB;
    return Family::kPaged;
}

uint16_t Sum16(const uint8_t* p, size_t n) {
    uint32_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += p[i];
    return static_cast<uint16_t>(sum);
}

void AppendHighFirst(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v & 0xFF));
}

Bytes WithSum(Bytes b) {
    AppendHighFirst(b, Sum16(b.data(), b.size()));
    return b;
}

Bytes WithCrc(Bytes b) {
    AppendHighFirst(b, Crc16Bitwise(b.data(), b.size()));
    return b;
}

uint16_t TrailingValue(const Bytes& f) {
    return static_cast<uint16_t>(f[f.size() - 2] << 8 | f[f.size() - 1]);
}

bool SumOk(const Bytes& f) {
    return f.size() >= 3 && TrailingValue(f) == Sum16(f.data(), f.size() - 2);
}

bool CrcOk(const Bytes& f) {
    return f.size() >= 3 && TrailingValue(f) == Crc16Bitwise(f.data(), f.size() - 2);
}

uint16_t Be16At(const Bytes& f, size_t at) {
    return static_cast<uint16_t>(f[at] << 8 | f[at + 1]);
}

bool RestartKeyAt(const Bytes& f, size_t at) {
    return std::equal(kRestartKey.begin(), kRestartKey.end(), f.begin() + static_cast<long>(at));
}

void PutLe32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(Bytes& b, const std::string& text) {
    for (size_t i = 0; i < kTextWidth; ++i)
        b.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

Bytes IdentifyAnswer(const Device& d) {
    Bytes b{kLead};
    PutText(b, d.update.model_text);
    PutText(b, d.firmware);
    if (FamilyOf(d) == Family::kPaged) {
        const long n4 =
            d.update.n4 >= 0 ? d.update.n4 : static_cast<long>(kPagedHeader + d.update.data.size());
        PutLe32(b, static_cast<uint32_t>(kPagedCapacity));
        PutLe32(b, static_cast<uint32_t>(d.update.firmware.size()));
        PutLe32(b, kPagedHeader);
        PutLe32(b, static_cast<uint32_t>(n4));
    }
    return b;
}

Bytes Status(uint8_t command, bool accepted) {
    return WithSum({kLead, command, static_cast<uint8_t>(accepted ? 0 : 1)});
}

// What the faults say about one request the device heard: its number within its kind decides.
struct Verdict {
    bool lose = false;
    bool refuse = false;
    bool wrong_echo = false;
};

Verdict Count(Device& d, const std::string& kind) {
    const int n = ++d.update.counts[kind];
    auto named = [&](const std::map<std::string, std::set<int>>& table) {
        auto it = table.find(kind);
        return it != table.end() && it->second.count(n) != 0;
    };
    const UpdateFaults& f = d.update.faults;
    return {named(f.lose), named(f.refuse), named(f.wrong_echo)};
}

std::vector<Bytes> Answer(const Verdict& v, Bytes answer) {
    if (v.lose) return {};
    return {std::move(answer)};
}

bool Silent(const Device& d) {
    if (d.update.restarts > 0 && d.update.faults.silent_after_restart) return true;
    return SteadyClock::now() < d.update.back_at;
}

void Store(Bytes& memory, size_t at, const uint8_t* data, size_t n) {
    if (memory.size() < at + n) memory.resize(at + n, 0);
    std::copy(data, data + n, memory.begin() + static_cast<long>(at));
}

// A firmware block as the device's memory keeps it, with the failing cell of the faults applied.
void StoreFirmware(Device& d, Bytes& memory, size_t at, const uint8_t* data, size_t n) {
    Store(memory, at, data, n);
    const long flip = d.update.faults.flip_at;
    if (flip >= 0 && static_cast<size_t>(flip) >= at && static_cast<size_t>(flip) < at + n)
        memory[static_cast<size_t>(flip)] ^= 0xFF;
}

// Up to n bytes of the data area from `offset`; what lies past its end reads as zero.
Bytes DataAt(const Device& d, size_t offset, size_t n) {
    Bytes out(n, 0);
    const Bytes& data = d.update.data;
    for (size_t i = 0; i < n && offset + i < data.size(); ++i)
        out[i] = data[offset + i];
    return out;
}

// The restart installs what was sent since the last one; the version changes with it.
void Install(Device& d, Bytes firmware, bool erase_data) {
    UpdateState& u = d.update;
    if (!firmware.empty()) {
        u.firmware = std::move(firmware);
        if (!u.next_firmware.empty()) d.firmware = u.next_firmware;
        if (erase_data) std::fill(u.data.begin(), u.data.end(), kErased);
    }
    u.staged.clear();
    u.staged_extent = 0;
    u.prepared = false;
    ++u.restarts;
    u.back_at = SteadyClock::now() + std::chrono::milliseconds(u.restart_ms);
}

// ---- The FA family: the first and the paged family ------------------------------------------------

// Where a data-area request of the FA family points: the offset into the data area, or nothing when
// the address lies outside it.
std::optional<size_t> DataOffset(const Device& d, uint16_t field, size_t n) {
    if (FamilyOf(d) == Family::kFirst) {
        if (field < kFirstDataBase) return std::nullopt;
        const size_t offset = field - kFirstDataBase;
        if (offset + n > kFirstDataSize) return std::nullopt;
        return offset;
    }
    const size_t offset = size_t{field} * kPage;
    if (offset + n > kPagedCapacity) return std::nullopt;
    return offset;
}

std::vector<Bytes> Read(Device& d, uint16_t field) {
    const Verdict v = Count(d, "read");
    const bool first = FamilyOf(d) == Family::kFirst;
    const size_t n = first ? kFirstReadSize : kPagedReadSize;
    const auto offset = DataOffset(d, field, n);
    if (v.refuse || !offset) return Answer(v, WithSum({kLead, kRead, 1, 0}));
    if (static_cast<long>(*offset) == d.update.faults.damaged_at)
        return Answer(v, WithSum({kLead, kRead, 0, 0}));
    Bytes b{kLead, kRead, 0, first ? kFirstReadCode : kPagedReadCode};
    const Bytes data = DataAt(d, *offset, n);
    b.insert(b.end(), data.begin(), data.end());
    return Answer(v, WithSum(std::move(b)));
}

std::vector<Bytes> DataWrite(Device& d, uint16_t field, const uint8_t* data, size_t n) {
    const Verdict v = Count(d, "data");
    const auto offset = DataOffset(d, field, n);
    if (v.refuse || !offset) return Answer(v, Status(kDataWrite, false));
    Store(d.update.data, *offset, data, n);
    return Answer(v, Status(kDataWrite, true));
}

// Where a firmware block goes in the staged firmware: the first family counts bytes from address
// 0x8000 (wrapping past 0xFFFF), the paged family takes block number page / 4 of 1280 bytes.
std::optional<size_t> FirmwareOffset(const Device& d, uint16_t field, size_t n) {
    if (FamilyOf(d) == Family::kFirst) {
        if (!d.update.prepared) return std::nullopt;
        return static_cast<uint16_t>(field - kFirstDataBase);
    }
    if (field % 4 != 0 || n != kPagedBlock) return std::nullopt;
    const size_t offset = size_t{field} / 4 * kPagedBlock;
    if (offset + n > kPagedCapacity) return std::nullopt;
    return offset;
}

std::vector<Bytes> FirmwareWrite(Device& d, uint16_t field, const uint8_t* data, size_t n) {
    const Verdict v = Count(d, "write");
    const auto offset = FirmwareOffset(d, field, n);
    if (v.refuse || !offset) return Answer(v, Status(kWrite, false));
    StoreFirmware(d, d.update.staged, *offset, data, n);
    return Answer(v, Status(kWrite, true));
}

std::vector<Bytes> RespondFa(Device& d, const Bytes& f) {
    if (f.size() < 4 || f[0] != kLead || !SumOk(f)) return {};
    const uint8_t command = f[1];
    const size_t payload = f.size() - 6;  // data bytes of a request with a 16-bit address field
    if (command == kLead && f.size() == 4) return Answer(Count(d, "identify"), IdentifyAnswer(d));
    if (command == kRead && f.size() == 6) return Read(d, Be16At(f, 2));
    if (command == kDataWrite && f.size() > 6) return DataWrite(d, Be16At(f, 2), f.data() + 4, payload);
    if (command == kWrite && f.size() > 6) return FirmwareWrite(d, Be16At(f, 2), f.data() + 4, payload);
    if (command == kPrepare && f.size() == 4 && FamilyOf(d) == Family::kFirst) {
        const Verdict v = Count(d, "prepare");
        d.update.prepared = !v.refuse;
        return Answer(v, Status(kPrepare, !v.refuse));
    }
    if (command == kRestart && f.size() == 10 && RestartKeyAt(f, 2)) {
        const Verdict v = Count(d, "restart");
        Install(d, d.update.staged, true);
        return Answer(v, Status(kRestart, true));
    }
    return {};
}

// ---- The B family --------------------------------------------------------------------------------

std::vector<Bytes> BRead(Device& d, uint16_t address) {
    const Verdict v = Count(d, "read");
    if (v.refuse) return {};
    Bytes b{kRead, 0, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF)};
    const Bytes data = DataAt(d, address, kBReadSize);
    b.insert(b.end(), data.begin(), data.end());
    return Answer(v, WithCrc(std::move(b)));
}

std::vector<Bytes> BWrite(Device& d, uint16_t address, const uint8_t* data, size_t n) {
    const Verdict v = Count(d, "write");
    if (v.refuse || address + n > kBMemorySize) return {};
    const uint16_t echoed = v.wrong_echo ? static_cast<uint16_t>(address + kBReadSize) : address;
    if (!v.wrong_echo) {
        StoreFirmware(d, d.update.data, address, data, n);
        d.update.staged_extent = std::max(d.update.staged_extent, address + n);
    }
    return Answer(v, {kWrite, 0, static_cast<uint8_t>(echoed >> 8), static_cast<uint8_t>(echoed & 0xFF)});
}

std::vector<Bytes> RespondB(Device& d, const Bytes& f) {
    if (f.size() == 1 && f[0] == kLead) return Answer(Count(d, "poll"), IdentifyAnswer(d));
    if (f.size() == 4 && f[0] == kLead && f[1] == kLead && SumOk(f))
        return Answer(Count(d, "identify"), IdentifyAnswer(d));
    if (f.size() < 6 || !CrcOk(f)) return {};
    if (f[0] == kRead && f[1] == 0 && f.size() == 6) return BRead(d, Be16At(f, 2));
    if (f[0] == kWrite && f[1] == 0 && f.size() > 6)
        return BWrite(d, Be16At(f, 2), f.data() + 4, f.size() - 6);
    if (f[0] == kRestart && f.size() == 9 && RestartKeyAt(f, 1)) {
        Count(d, "restart");
        const Bytes& memory = d.update.data;
        Install(d, Bytes(memory.begin(), memory.begin() + static_cast<long>(d.update.staged_extent)), false);
    }
    return {};
}

}  // namespace

bool IsUpdateRequest(const Bytes& bytes) {
    return !bytes.empty() && bytes[0] >= kRestart && bytes[0] <= kLead;
}

std::vector<Bytes> RespondUpdate(Device& d, const Request& r) {
    if (r.broadcast || Silent(d)) return {};
    return FamilyOf(d) == Family::kB ? RespondB(d, r.bytes) : RespondFa(d, r.bytes);
}

void InitUpdateState(Device& d) {
    UpdateState& u = d.update;
    const Family family = FamilyOf(d);
    u.model_text = family == Family::kFirst ? std::string(d.model->name) + "-S" : d.model->name;
    u.next_firmware = "V2.2";
    const size_t size = family == Family::kFirst ? kFirstDataSize
                        : family == Family::kB   ? kBMemorySize
                                                 : 0x4000;
    u.data.resize(size);
    for (size_t i = 0; i < size; ++i)
        u.data[i] = static_cast<uint8_t>((i * 7 + d.mac[5] + (i >> 8)) & 0xFF);
}

}  // namespace vksim
