#include "core/params/param_session.h"

#include <cstdlib>
#include <cstring>
#include <thread>

#include "core/model_family.h"
#include "core/params/ex_param_sheet.h"
#include "core/params/param_sheet.h"

namespace torvane {

// What a session works on, copied from the row when it starts: the device as the library is told of it
// (an empty address for a row of the local search, whose device is then chosen by its MAC), the row's
// record and address text, and the session's parameter buffer, which the window edits in place.
struct ParamSession::Target {
    std::string row_ip;
    DeviceRecordBytes record;
    DeviceSession session;
    ParamBuffer buffer{};

    Target(const DeviceRow& row, DeviceLibrary& library, UiPort& ui)
        : row_ip(row.sub[kSubIp]), record(row.param->DeviceRecord), session(library, ui, DeviceOf(row)) {}

    static SessionDevice DeviceOf(const DeviceRow& row) {
        const DeviceRecordBytes& r = row.param->DeviceRecord;
        SessionDevice device;
        device.model_code = r[0];
        device.mac = MacOfRecord(r);
        device.ip = row.is_local() ? "" : row.sub[kSubIp];
        device.label = row.sub[kSubIp];
        return device;
    }
    const MacBytes& mac() const { return session.device().mac; }
};

namespace {

bool IsDottedQuad(const std::string& text) {
    int groups = 0;
    size_t pos = 0;
    while (groups < 4) {
        size_t digits = 0;
        unsigned value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos++] - '0');
            ++digits;
        }
        if (digits == 0 || value > 255) return false;
        if (++groups < 4 && (pos >= text.size() || text[pos++] != '.')) return false;
    }
    return pos == text.size();
}

// The temporary ARP entry of a standard device's read: made when constructed, removed by Remove() or,
// on any other way out, when destroyed.
class TemporaryArpEntry {
  public:
    TemporaryArpEntry(ArpPort& arp, const MacBytes& mac) : arp_(arp) {
        const auto address = LibraryBroadcastAddress();
        if (!address) return;
        address_ = *address;
        active_ = true;
        arp_.SetArpEntry(address_, MacToArpText(mac));
    }
    ~TemporaryArpEntry() { Remove(); }
    TemporaryArpEntry(const TemporaryArpEntry&) = delete;
    TemporaryArpEntry& operator=(const TemporaryArpEntry&) = delete;

    void Remove() {
        if (active_) arp_.DeleteArpEntries(address_);
        active_ = false;
    }

  private:
    ArpPort& arp_;
    std::string address_;
    bool active_ = false;
};

}  // namespace

std::optional<std::string> LibraryBroadcastAddress() {
    const char* env = std::getenv("VKCFG_BROADCAST");
    if (env == nullptr || *env == '\0') return "255.255.255.255";
    if (!IsDottedQuad(env)) return std::nullopt;
    return std::string(env);
}

ParamSession::ParamSession(DeviceLibrary& library, UiPort& ui, ArpPort& arp,
                           const std::vector<std::string>& protocol_names, ParamSessionSeams seams)
    : library_(library), ui_(ui), arp_(arp), protocol_names_(protocol_names), seams_(std::move(seams)) {
    if (!seams_.pause) seams_.pause = [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
    if (!seams_.local_search_pass) seams_.local_search_pass = [] {};
}

void ParamSession::ListView1DblClick(const DeviceRow* selected) {
    if (!selected) return;
    if (selected->image == kImageBookOffline) {
        ui_.ShowMessage(MessageKind::kError, kDeviceOfflineMessage, MessageButtons::kOk);
        return;
    }
    Target target(*selected, library_, ui_);
    if (IsExtendedDevice(selected->param->model_code())) {
        ShowDeviceParamEx(target);
    } else {
        ShowDeviceParam(target);
    }
}

void ParamSession::ShowDeviceParam(Target& t) {
    int result;
    {
        TemporaryArpEntry arp(arp_, t.mac());
        result = t.session.LogIn();  // a refusal that stands is followed by a logout in there
        if (result == VK_ERR_PASSWORD) {
            arp.Remove();
            ui_.ShowMessage(MessageKind::kError, kLoginRefusedMessage, MessageButtons::kOk);
            return;
        }
        if (result == VK_OK) result = t.session.Read(t.buffer);
        t.session.LogOut();
    }
    if (result != VK_OK) return;
    if (!IsStandardDevice(t.session.login_record().model_code)) {
        ui_.ShowMessage(MessageKind::kInformation, kDeviceNotFoundMessage + std::to_string(result),
                        MessageButtons::kOk);
        return;
    }
    ParamSheet sheet(protocol_names_);
    sheet.FillSystemPage(t.record, t.buffer);
    if (ui_.ShowParamWindow(sheet, t.buffer) == 1) WriteBack(t);
}

void ParamSession::ShowDeviceParamEx(Target& t) {
    int result = t.session.LogIn();
    if (result == VK_ERR_PASSWORD) {
        ui_.ShowMessage(MessageKind::kError, kLoginRefusedMessage, MessageButtons::kOk);
        return;
    }
    if (result == VK_OK) result = t.session.Read(t.buffer);
    t.session.LogOut();
    if (result != VK_OK) return;
    ExParamSheet sheet(protocol_names_);
    sheet.FillSystemInformation(t.record, t.buffer);
    if (ui_.ShowExParamWindow(sheet, t.buffer) == 1) WriteBack(t);
}

// The second login's result is not looked at: the write's own result tells what happened.
void ParamSession::WriteBack(Target& t) {
    (void)t.session.LogInAgain();
    const int result = t.session.Write(t.buffer);
    t.session.LogOut();
    ReportWrite(t, result);
}

void ParamSession::ReportWrite(const Target& t, int result) {
    const std::string head = "Modify " + t.row_ip;
    if (result == VK_OK) {
        ui_.AppendLog(head + " param successful!");
        seams_.pause(kRefreshPause);
        seams_.local_search_pass();
    } else if (result == VK_ERR_UNEXPECTED) {
        ui_.AppendLog(head + " param fault,Confirm the protect switch is off");
    } else {
        ui_.AppendLog(head + " param fault,the error code is " + std::to_string(result));
    }
}

}  // namespace torvane
