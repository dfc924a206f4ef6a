#include "shared_table.h"

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>

namespace vksim {
namespace {

// Where the publisher puts each field of an entry: offset and width.
struct Field {
    size_t at;
    size_t width;
};
constexpr size_t kInUseAt = 4;
constexpr Field kName{12, 9};
constexpr size_t kMacAt = 21;
constexpr Field kIpText{27, 16};
constexpr size_t kPortAt = 44;
constexpr Field kIp{46, 16};
constexpr Field kNetmask{62, 16};
constexpr Field kGateway{78, 16};
constexpr Field kDns1{94, 16};
constexpr Field kDns2{110, 16};
constexpr Field kPeerIp{126, 14};

void PutText(uint8_t* entry, Field f, const std::string& text) {
    std::memset(entry + f.at, 0, f.width);
    std::memcpy(entry + f.at, text.data(), std::min(text.size(), f.width));
}

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

TableEntry EntryOf(const Device& d) {
    TableEntry e;
    e.name = d.name;
    e.mac = d.mac;
    e.ip_text = IpText(d.ip);
    e.port = d.channels.empty() ? 0 : d.channels[0].local_port;
    e.ip = IpText(d.ip);
    e.netmask = IpText(d.netmask);
    e.gateway = IpText(d.gateway);
    e.dns1 = IpText(d.dns1);
    e.dns2 = IpText(d.dns2);
    e.peer_ip = d.channels.empty() ? "" : IpText(d.channels[0].peer_ip);
    return e;
}

TableEntry ParseTableEntry(const std::string& words) {
    std::string text = words;
    std::replace(text.begin(), text.end(), ',', ' ');
    std::istringstream tokens(text);
    TableEntry e;
    for (std::string token; tokens >> token;) {
        const auto eq = token.find('=');
        if (eq == std::string::npos) throw std::invalid_argument(token + ": key=value expected");
        const std::string key = token.substr(0, eq), value = token.substr(eq + 1);
        if (key == "name") {
            e.name = value;
        } else if (key == "mac") {
            if (!ParseMac(value, e.mac)) throw std::invalid_argument(token + ": not a MAC address");
        } else if (key == "ip") {
            e.ip_text = e.ip = value;
        } else if (key == "port") {
            e.port = static_cast<uint16_t>(std::stoul(value));
        } else if (key == "netmask") {
            e.netmask = value;
        } else if (key == "gateway") {
            e.gateway = value;
        } else if (key == "dns1") {
            e.dns1 = value;
        } else if (key == "dns2") {
            e.dns2 = value;
        } else if (key == "peer") {
            e.peer_ip = value;
        } else if (key == "inuse") {
            e.in_use = value != "0";
        } else {
            throw std::invalid_argument(token + ": unknown key");
        }
    }
    return e;
}

SharedTablePublisher::SharedTablePublisher(TableNames names, size_t size)
    : names_(std::move(names)), size_(size) {
    const int fd = ::shm_open(names_.memory.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error(SystemError("shm_open " + names_.memory));
    void* p = ::ftruncate(fd, static_cast<off_t>(size_)) == 0
                  ? ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                  : MAP_FAILED;
    const std::string failure = SystemError("mapping " + names_.memory);
    ::close(fd);
    if (p == MAP_FAILED) {
        ::shm_unlink(names_.memory.c_str());
        throw std::runtime_error(failure);
    }
    memory_ = static_cast<uint8_t*>(p);
    // A semaphore left behind by a publisher that died holding it would block every reader: start anew.
    ::sem_unlink(names_.mutex.c_str());
    sem_t* sem = ::sem_open(names_.mutex.c_str(), O_CREAT | O_EXCL, 0666, 1);
    if (sem == SEM_FAILED) {
        const std::string why = SystemError("sem_open " + names_.mutex);
        ::munmap(memory_, size_);
        ::shm_unlink(names_.memory.c_str());
        throw std::runtime_error(why);
    }
    mutex_ = sem;
}

SharedTablePublisher::~SharedTablePublisher() {
    ::munmap(memory_, size_);
    ::shm_unlink(names_.memory.c_str());
    ::sem_close(static_cast<sem_t*>(mutex_));
    ::sem_unlink(names_.mutex.c_str());
}

void SharedTablePublisher::Lock() {
    while (::sem_wait(static_cast<sem_t*>(mutex_)) != 0 && errno == EINTR) {
    }
}

void SharedTablePublisher::Unlock() {
    ::sem_post(static_cast<sem_t*>(mutex_));
}

void SharedTablePublisher::Write(size_t index, const TableEntry& e) {
    if ((index + 1) * kEntrySize > size_) return;
    uint8_t* entry = memory_ + index * kEntrySize;
    std::memset(entry, 0, kEntrySize);
    entry[kInUseAt] = e.in_use ? 1 : 0;
    PutText(entry, kName, e.name);
    std::memcpy(entry + kMacAt, e.mac.data(), e.mac.size());
    PutText(entry, kIpText, e.ip_text);
    std::memcpy(entry + kPortAt, &e.port, sizeof e.port);
    PutText(entry, kIp, e.ip);
    PutText(entry, kNetmask, e.netmask);
    PutText(entry, kGateway, e.gateway);
    PutText(entry, kDns1, e.dns1);
    PutText(entry, kDns2, e.dns2);
    PutText(entry, kPeerIp, e.peer_ip);
}

void SharedTablePublisher::Put(size_t index, const TableEntry& entry) {
    Lock();
    Write(index, entry);
    Unlock();
}

void SharedTablePublisher::Publish(const std::vector<TableEntry>& entries) {
    Lock();
    for (size_t i = 0; i < kEntryCount; ++i) {
        if (i < entries.size()) {
            Write(i, entries[i]);
        } else if ((i + 1) * kEntrySize <= size_) {
            std::memset(memory_ + i * kEntrySize, 0, kEntrySize);
        }
    }
    Unlock();
}

std::unique_ptr<SharedTablePublisher> PublishTable(const std::vector<Device>& devices,
                                                   const std::vector<std::string>& extra_entries) {
    std::vector<TableEntry> entries;
    for (const auto& d : devices)
        entries.push_back(EntryOf(d));
    for (const auto& words : extra_entries)
        entries.push_back(ParseTableEntry(words));
    auto table = std::make_unique<SharedTablePublisher>();
    table->Publish(entries);
    return table;
}

}  // namespace vksim
