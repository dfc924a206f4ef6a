#include "core/params/ex_param_sheet.h"

#include "core/address_text.h"
#include "core/params/ex_param_block.h"
#include "vkcfg.h"

namespace torvane {
namespace {

namespace ex = extended;
using P = ExParamSheet;

const ValueNames kExDataBitsNames{{{7, "7 bit"}, {8, "8 bit"}}, "%d", 8};

constexpr int kKeepAliveMax = 1000;
constexpr int kMaxLengthMax = 65535;  // a 16-bit field
constexpr int kMaxIntervalMax = 255;  // a one-byte field

// The fields of one channel page's rows; a page without them shows and stores nothing.
struct ChannelFields {
    size_t port, protocol, work_mode, peer_ip, peer_port, keep_alive, url_switch, url;
    size_t baud, parity, data_bits, stop_bits, flow_control, max_length, max_interval;
};

const ChannelFields kChannel0Fields{ex::kLocalPort,   ex::kProtocol,  ex::kWorkMode,   ex::kPeerIp,
                                    ex::kPeerPort,    ex::kKeepAlive, ex::kUrlSwitch,  ex::kUrl,
                                    ex::kBaudRate,    ex::kParity,    ex::kDataBits,   ex::kStopBits,
                                    ex::kFlowControl, ex::kMaxLength, ex::kMaxInterval};

const ChannelFields kUnbound{};

FieldBinding Bound(const ChannelFields* at, FieldBinding f) {
    return at ? f : FieldBinding{};
}

std::vector<SheetRow> ChannelNetworkRows(const ChannelFields* at,
                                         const std::vector<std::string>& protocol_items) {
    const ChannelFields& c = at ? *at : kUnbound;
    return {
        SpinRow("Port", kPortMax, Bound(at, NumberField(c.port, 2, true))),
        PickRow("Protocol", RowKind::kPickText, protocol_items,
                Bound(at, BoundField(FieldConv::kProtocol, c.protocol, 1))),
        PickRow("Work Mode", RowKind::kPickText, kWorkModeItems,
                Bound(at, NamedField(c.work_mode, kWorkModeNames))),
        AddressRow("Peer IP", Bound(at, BoundField(FieldConv::kAddressBytes, c.peer_ip, 4)), RowKind::kText),
        SpinRow("Peer Port", kPortMax, Bound(at, NumberField(c.peer_port, 2, true))),
        SpinRow("KeepLive Timer(min)", kKeepAliveMax, Bound(at, NumberField(c.keep_alive, 1))),
        PickRow("URL Switch", RowKind::kPickList, kEnableDisableItems,
                Bound(at, NamedField(c.url_switch, kEnabledWhenOne))),
        TextRow("URL", Bound(at, TextField(c.url, ex::kUrlSize)), kUrlMaxLength),
    };
}

std::vector<SheetRow> ChannelSerialRows(const ChannelFields* at) {
    const ChannelFields& c = at ? *at : kUnbound;
    return {
        PickRow("Baud", RowKind::kPickText, kBaudItems,
                Bound(at, BoundField(FieldConv::kBaudHundreds, c.baud, 2))),
        PickRow("Parity", RowKind::kPickText, kParityItems, Bound(at, NamedField(c.parity, kParityNames))),
        PickRow("Data Bits", RowKind::kPickText, kDataBitsItems,
                Bound(at, NamedField(c.data_bits, kExDataBitsNames))),
        PickRow("Stop Bits", RowKind::kPickText, kStopBitsItems,
                Bound(at, NamedField(c.stop_bits, kStopBitsNames))),
        PickRow("Flow Control", RowKind::kPickText, kFlowControlItems,
                Bound(at, NamedField(c.flow_control, kFlowControlNames))),
        SpinRow("Max Length(byes)", kMaxLengthMax, Bound(at, NumberField(c.max_length, 2))),
        SpinRow("Max Interval(ms)", kMaxIntervalMax, Bound(at, NumberField(c.max_interval, 1))),
    };
}

template <typename... Rows>
std::vector<SheetRow> Joined(std::vector<SheetRow> first, Rows&&... more) {
    (first.insert(first.end(), more.begin(), more.end()), ...);
    return first;
}

SheetPage ChannelPageOf(std::string caption, const ChannelFields* at, const std::vector<std::string>& items) {
    return {std::move(caption), true, true, false,
            Joined({CategoryRow("Network")}, ChannelNetworkRows(at, items),
                   std::vector{CategoryRow("Serial")}, ChannelSerialRows(at))};
}

std::vector<SheetRow> TimeServiceRows() {
    const auto number = [](const char* caption, size_t offset, size_t width) {
        return TextRow(caption, NumberField(offset, width));
    };
    std::vector<SheetRow> rows{
        number("Time Zone", ex::kTimeZone, 1),
        number("Request IntervalS)", ex::kRequestInterval, 2),
        number("First Request Interval(S)", ex::kFirstRequestInterval, 2),
        PickRow("Receive Broadcast", RowKind::kPickText, kDisableEnableItems,
                NamedField(ex::kReceiveBroadcast, kEnabledUnlessZero)),
        PickRow("Oscillator Rectify", RowKind::kPickText, kDisableEnableItems,
                NamedField(ex::kOscillatorRectify, kEnabledUnlessZero)),
        number("Max Value For Rectify(ppm)", ex::kRectifyMaxPpm, 2),
        number("Livetime After Offline(S)", ex::kOfflineLifetime, 2),
        number("Error For Adjust(mS)", ex::kAdjustErrorMs, 2),
        number("Max Adjust Value(S)", ex::kAdjustMax, 2),
    };
    for (size_t i = 0; i < ex::kTimeServers; ++i) {
        rows.push_back(TextRow("TimeServer" + std::to_string(i + 1),
                               BoundField(FieldConv::kTimeServer, ex::kTimeServer1 + i * ex::kTimeServerSize,
                                          ex::kTimeServerSize)));
    }
    return rows;
}

// Channel entry 0: the time service under "Network", the time source's serial port under "Serial";
// the entry's other channel rows are hidden and have no field.
SheetPage NtpPage(const std::vector<std::string>& items) {
    std::vector<SheetRow> serial = ChannelSerialRows(nullptr);
    serial[0].field = BoundField(FieldConv::kBaudHundreds, ex::kSourceBaudRate, 2);
    serial[1].field = NamedField(ex::kSourceParity, kParityNames);
    serial[2].field = NamedField(ex::kSourceDataBits, kExDataBitsNames);
    serial[3].field = NamedField(ex::kSourceStopBits, kStopBitsNames);
    std::vector<SheetRow> hidden = ChannelNetworkRows(nullptr, items);
    hidden.insert(hidden.end(), serial.begin() + 4, serial.end());
    serial.resize(4);
    for (auto& row : hidden)
        row.visible = false;
    return {"NTP", true, true, false,
            Joined({CategoryRow("Network")}, TimeServiceRows(), std::vector{CategoryRow("Serial")}, serial,
                   hidden)};
}

SheetPage SystemInformationPage() {
    SheetPage page{"System Information", true, true, false, {}};
    page.rows.push_back(TextRow("MAC Address", BoundField(FieldConv::kMac, ex::kMac, 6)));
    for (const char* caption :
         {"IP", "NetMask", "GatewayIP", "PeerIP", "DHCP Switch", "Auto DNS", "First DNS IP", "Second DNS IP"})
        page.rows.push_back(TextRow(caption, {}));
    for (auto& row : page.rows)
        row.read_only = true;
    return page;
}

SheetPage DeviceInformationPage() {
    const auto name = [](const char* caption, size_t offset, const char* bar_error) {
        return TextRow(caption, TextField(offset, ex::kNameSize, bar_error), kNameMaxLength);
    };
    SheetRow password = name("Password", ex::kPassword, kPasswordBarError);
    password.secret = true;
    return {
        "Device Information",
        true,
        true,
        false,
        {
            ReadOnly(TextRow("Device Type", {})),
            ReadOnly(TextRow("Firmware Version", TextField(ex::kFirmwareVersion, ex::kFirmwareVersionSize))),
            name("Device Name", ex::kDeviceName, kDeviceNameBarError),
            name("User Name", ex::kUserName, kUserNameBarError),
            password,
        }};
}

SheetPage NetworkPage() {
    const auto address = [](const char* caption, size_t offset) {
        return AddressRow(caption, BoundField(FieldConv::kAddressBytes, offset, 4));
    };
    return {"Network",
            true,
            true,
            false,
            {
                PickRow("Network Mode", RowKind::kPickList, kNetworkModeItems, {}),
                PickRow("DHCP Switch", RowKind::kPickList, kEnableDisableItems,
                        NamedField(ex::kDhcp, kEnabledWhenOne)),
                address("IP Address", ex::kIp),
                address("Netmask", ex::kNetmask),
                address("Gateway IP", ex::kGateway),
                PickRow("Auto DNS", RowKind::kPickList, kEnableDisableItems,
                        NamedField(ex::kAutoDns, kEnabledUnlessZero)),
                address("First DNS IP", ex::kDns1),
                address("Second DNS IP", ex::kDns2),
            }};
}

const RowName kStoreOrder[] = {
    {P::kDeviceInformation, "Device Name"},
    {P::kDeviceInformation, "User Name"},
    {P::kDeviceInformation, "Password"},
    {P::kNetwork, "DHCP Switch"},
    {P::kNetwork, "Auto DNS"},
    {P::kNetwork, "IP Address"},
    {P::kNetwork, "Netmask"},
    {P::kNetwork, "Gateway IP"},
    {P::kNetwork, "First DNS IP"},
    {P::kNetwork, "Second DNS IP"},
    {P::kChannel0, "Peer IP"},
    {P::kChannel0, "URL"},
    {P::kChannel0, "Protocol"},
    {P::kChannel0, "Work Mode"},
    {P::kChannel0, "Peer Port"},
    {P::kChannel0, "Port"},
    {P::kChannel0, "Baud"},
    {P::kChannel0, "Data Bits"},
    {P::kChannel0, "Parity"},
    {P::kChannel0, "Stop Bits"},
    {P::kChannel0, "Flow Control"},
    {P::kChannel0, "Max Length(byes)"},
    {P::kChannel0, "Max Interval(ms)"},
    {P::kChannel0, "KeepLive Timer(min)"},
    {P::kChannel0, "URL Switch"},
    {P::kChannel0, "URL"},
    {P::kNtp, "Time Zone"},
    {P::kNtp, "Request IntervalS)"},
    {P::kNtp, "First Request Interval(S)"},
    {P::kNtp, "Max Value For Rectify(ppm)"},
    {P::kNtp, "Livetime After Offline(S)"},
    {P::kNtp, "Error For Adjust(mS)"},
    {P::kNtp, "Max Adjust Value(S)"},
    {P::kNtp, "Receive Broadcast"},
    {P::kNtp, "Oscillator Rectify"},
    {P::kNtp, "TimeServer1"},
    {P::kNtp, "TimeServer2"},
    {P::kNtp, "TimeServer3"},
    {P::kNtp, "TimeServer4"},
    {P::kNtp, "TimeServer5"},
    {P::kNtp, "Baud"},
    {P::kNtp, "Data Bits"},
    {P::kNtp, "Parity"},
    {P::kNtp, "Stop Bits"},
};

struct DefaultText {
    const char* caption;
    const char* text;
};

const DefaultText kDeviceDefaults[] = {{"Device Name", ""}, {"User Name", ""}, {"Password", ""}};
const DefaultText kNetworkDefaults[] = {
    {"Network Mode", "Normal Mode"}, {"DHCP Switch", "Disable"},   {"IP Address", "10.1.1.10"},
    {"Netmask", "255.0.0.0"},        {"Gateway IP", "10.1.1.1"},   {"Auto DNS", "Disable"},
    {"First DNS IP", "0.0.0.0"},     {"Second DNS IP", "0.0.0.0"},
};
// Every channel page's rows but "Port", which counts up with the entry.
const DefaultText kChannelDefaults[] = {
    {"Protocol", "TCP"},
    {"Work Mode", "Server Mode"},
    {"Peer IP", "10.1.1.105"},
    {"Peer Port", "6007"},
    {"KeepLive Timer(min)", "0"},
    {"URL Switch", "Disable"},
    {"URL", ""},
    {"Baud", "9600 bps"},
    {"Parity", "NONE"},
    {"Data Bits", "8 bit"},
    {"Stop Bits", "1 bit"},
    {"Flow Control", "NONE"},
    {"Max Interval(ms)", "10"},
    {"Max Length(byes)", "1000"},
};
const DefaultText kNtpDefaults[] = {
    {"Time Zone", "8"},
    {"Request IntervalS)", "30"},
    {"Receive Broadcast", "Disable"},
    {"Oscillator Rectify", "Disable"},
    {"Livetime After Offline(S)", "600"},
    {"TimeServer1", ""},
    {"TimeServer2", ""},
    {"TimeServer3", ""},
    {"TimeServer4", ""},
    {"TimeServer5", ""},
    {"First Request Interval(S)", "3"},
    {"Max Value For Rectify(ppm)", "20"},
    {"Error For Adjust(mS)", "5"},
    {"Max Adjust Value(S)", "600"},
};
constexpr int kFirstDefaultPort = 6006;

template <size_t N>
void SetDefaults(SheetPage& page, const DefaultText (&defaults)[N]) {
    for (const auto& d : defaults)
        page.Row(d.caption).text = d.text;
}

}  // namespace

ExParamSheet::ExParamSheet(std::vector<std::string> protocol_names)
    : protocol_names_(std::move(protocol_names)) {
    const std::vector<std::string> items = ProtocolItems(protocol_names_);
    sheet_.pages = {SystemInformationPage(), DeviceInformationPage(), NetworkPage(), NtpPage(items),
                    ChannelPageOf("Channel-0", &kChannel0Fields, items)};
    for (size_t entry = 2; entry < kChannelPages; ++entry) {
        sheet_.pages.push_back(ChannelPageOf("Channel-" + std::to_string(entry - 1), nullptr, items));
        sheet_.pages.back().visible = false;
    }
}

size_t ExParamSheet::ChannelPage(size_t entry) {
    return entry == 0 ? kNtp : kChannel0 + entry - 1;
}

void ExParamSheet::FillSystemInformation(const DeviceRecordBytes& record, std::span<const uint8_t> block) {
    RequireBlock(block, VK_EX_PARAM_SIZE, "the extended parameter window");
    SheetPage& page = sheet_.pages[kSystemInformation];
    page.Row("IP").text = IpBytesToText(record.data() + VK_SRX_IP);
    page.Row("NetMask").text = IpBytesToText(record.data() + VK_SRX_NETMASK);
    page.Row("GatewayIP").text = IpBytesToText(record.data() + VK_SRX_GATEWAY);
    page.Row("PeerIP").text = IpBytesToText(record.data() + VK_SRX_PEER_IP);
    page.Row("DHCP Switch").text = EnableText(block[ex::kDhcp] == 1);
    page.Row("Auto DNS").text = EnableText(block[ex::kAutoDns] == 1);
    page.Row("First DNS IP").text = IpBytesToText(record.data() + VK_SRX_DNS1);
    page.Row("Second DNS IP").text = IpBytesToText(record.data() + VK_SRX_DNS2);
}

void ExParamSheet::Show(std::span<const uint8_t> block) {
    RequireBlock(block, VK_EX_PARAM_SIZE, "the extended parameter window");
    ShowRows(sheet_, block, protocol_names_);
    sheet_.Row({kDeviceInformation, "Device Type"}).text = kExDeviceType;
    sheet_.Row({kNetwork, "Network Mode"}).text = "Normal Mode";
    for (size_t entry = 0; entry < kChannelPages; ++entry)
        sheet_.pages[ChannelPage(entry)].visible = entry < 2;
}

std::string ExParamSheet::Caption() const {
    return kExCaptionPrefix + Text(kDeviceInformation, "Device Type");
}

std::optional<std::string> ExParamSheet::Modify(std::span<uint8_t> block) {
    RequireBlock(block, VK_EX_PARAM_SIZE, "the extended parameter window");
    if (auto error = StoreRows(sheet_, kStoreOrder, block, protocol_names_)) return error;
    Modified = 1;
    return std::nullopt;
}

void ExParamSheet::Default() {
    SetDefaults(sheet_.pages[kDeviceInformation], kDeviceDefaults);
    SetDefaults(sheet_.pages[kNetwork], kNetworkDefaults);
    for (size_t entry = 0; entry < kChannelPages; ++entry) {
        SheetPage& page = sheet_.pages[ChannelPage(entry)];
        page.Row("Port").text = std::to_string(kFirstDefaultPort + static_cast<int>(entry));
        SetDefaults(page, kChannelDefaults);
    }
    SetDefaults(sheet_.pages[kNtp], kNtpDefaults);
}

}  // namespace torvane
