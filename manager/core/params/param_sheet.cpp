#include "core/params/param_sheet.h"

#include <cstddef>

#include "core/address_text.h"
#include "vkcfg.h"

namespace torvane {
namespace {

#define SP(field) offsetof(VkParamSinglePort, field)
#define SP_WIDTH(field) sizeof(VkParamSinglePort::field)

const ValueNames kDeviceTypeNames{
    {{VK_MODEL_VKA100, "VKA100"}, {VK_MODEL_VKB200, "VKB210"}, {VK_MODEL_VKB220, "VKB220"}}, "", 0};
// Every value is shown with its " bit"; only "7 bit" stores 7.
const ValueNames kDataBitsNames{{{7, "7 bit"}}, "%d bit", 8};

using P = ParamSheet;

SheetPage SystemPage() {
    SheetPage page{"System", true, true, false, {}};
    page.rows = {
        TextRow("MAC Address", BoundField(FieldConv::kMac, SP(mac), SP_WIDTH(mac))),
        TextRow("IP Address", {}),
        TextRow("Netmask", {}),
        TextRow("Gateway IP", {}),
        TextRow("DHCP flag", {}),
        Hidden(TextRow("Peer IP", {})),
        Hidden(TextRow("Auto DNS", {})),
        Hidden(TextRow("First DNS", {})),
        Hidden(TextRow("Second DNS", {})),
    };
    for (auto& row : page.rows) {
        row.read_only = true;
        row.inactive = true;
    }
    return page;
}

SheetPage DevicePage() {
    SheetRow type = ReadOnly(TextRow("Device Type", NamedField(SP(model_code), kDeviceTypeNames)));
    type.inactive = true;
    SheetRow password =
        TextRow("Password", TextField(SP(password), SP_WIDTH(password), kPasswordBarError), kNameMaxLength);
    password.secret = true;
    return {"Device",
            true,
            true,
            false,
            {
                type,
                ReadOnly(
                    TextRow("Firmware Version", TextField(SP(firmware_version), SP_WIDTH(firmware_version)))),
                TextRow("Device Name", TextField(SP(device_name), SP_WIDTH(device_name), kDeviceNameBarError),
                        kNameMaxLength),
                TextRow("User Name", TextField(SP(user_name), SP_WIDTH(user_name), kUserNameBarError),
                        kNameMaxLength),
                password,
            }};
}

SheetPage NetworkPage() {
    const auto address = [](const char* caption, size_t offset) {
        return AddressRow(caption, TextField(offset, SP_WIDTH(ip)));
    };
    return {"Network",
            true,
            true,
            false,
            {
                PickRow("Network Mode", RowKind::kPickList, kNetworkModeItems,
                        NamedField(SP(network_mode), kNetworkModeNames)),
                PickRow("DHCP Switch", RowKind::kPickList, kEnableDisableItems,
                        NamedField(SP(dhcp), kEnabledWhenOne)),
                address("IP Address", SP(ip)),
                address("Netmask", SP(netmask)),
                address("Gateway IP", SP(gateway)),
                Hidden(address("First DNS", SP(dns1))),
                Hidden(address("Second DNS", SP(dns2))),
                Hidden(PickRow("Auto DNS", RowKind::kPickList, kEnableDisableItems,
                               NamedField(SP(auto_dns), kEnabledUnlessZero))),
            }};
}

SheetPage InterfacePage(const std::vector<std::string>& protocol_names) {
    // The URL's NUL may land in the unused byte after the 30-byte field.
    FieldBinding url = TextField(SP(url), SP_WIDTH(url));
    url.room = SP_WIDTH(url) + 1;
    static_assert(offsetof(VkParamSinglePort, unused_200) == offsetof(VkParamSinglePort, url) + 30);
    return {"Interface",
            true,
            true,
            false,
            {
                SpinRow("Port", kPortMax, NumberField(SP(local_port), 2)),
                PickRow("Protocol", RowKind::kPickText, ProtocolItems(protocol_names),
                        BoundField(FieldConv::kProtocol, SP(protocol), 1)),
                PickRow("Work Mode", RowKind::kPickText, kWorkModeItems,
                        NamedField(SP(work_mode), kWorkModeNames)),
                SpinRow("Broadcast Interval(S)", kPortMax, NumberField(SP(peer_port), 2)),
                SpinRow("Timezone", 1000, NumberField(SP(keep_alive), 1)),
                Hidden(AddressRow("Peer IP Address", TextField(SP(peer_ip), SP_WIDTH(peer_ip)))),
                Hidden(TextRow("URL", url, kUrlMaxLength)),
                Hidden(PickRow("URL Switch", RowKind::kPickList, kEnableDisableItems,
                               NamedField(SP(url_switch), kEnabledWhenOne))),
            }};
}

SheetPage SerialPage() {
    return {"Serial",
            true,
            false,  // the serial page does not grey its rows
            true,
            {
                PickRow("Baudrate", RowKind::kPickText, kBaudItems,
                        BoundField(FieldConv::kBaud, SP(baud_rate), 4)),
                PickRow("Parity", RowKind::kPickText, kParityItems, NamedField(SP(parity), kParityNames)),
                PickRow("Data Bits", RowKind::kPickText, kDataBitsItems,
                        NamedField(SP(data_bits), kDataBitsNames)),
                PickRow("Stop Bits", RowKind::kPickText, kStopBitsItems,
                        NamedField(SP(stop_bits), kStopBitsNames)),
                PickRow("Flow Control", RowKind::kPickText, kFlowControlItems,
                        NamedField(SP(flow_control), kFlowControlNames)),
                SpinRow("Max Length(Bytes)", 1536, NumberField(SP(max_length), 2)),
                SpinRow("Max Interval(ms)", 255, NumberField(SP(max_interval), 1)),
            }};
}

#undef SP
#undef SP_WIDTH

// The order in which "Modity" stores the rows; the URL is stored twice, as the device has always had it.
const RowName kStoreOrder[] = {
    {P::kDevice, "Device Name"},
    {P::kDevice, "User Name"},
    {P::kDevice, "Password"},
    {P::kNetwork, "Network Mode"},
    {P::kNetwork, "DHCP Switch"},
    {P::kNetwork, "IP Address"},
    {P::kNetwork, "Netmask"},
    {P::kNetwork, "Gateway IP"},
    {P::kNetwork, "First DNS"},
    {P::kNetwork, "Second DNS"},
    {P::kInterface, "Peer IP Address"},
    {P::kInterface, "URL"},
    {P::kInterface, "Protocol"},
    {P::kInterface, "Work Mode"},
    {P::kInterface, "Broadcast Interval(S)"},
    {P::kNetwork, "Auto DNS"},
    {P::kInterface, "Port"},
    {P::kSerial, "Baudrate"},
    {P::kSerial, "Data Bits"},
    {P::kSerial, "Parity"},
    {P::kSerial, "Stop Bits"},
    {P::kSerial, "Flow Control"},
    {P::kSerial, "Max Length(Bytes)"},
    {P::kSerial, "Max Interval(ms)"},
    {P::kInterface, "Timezone"},
    {P::kInterface, "URL Switch"},
    {P::kInterface, "URL"},
};

struct AddressCheck {
    RowName row;
    const char* error;
};

const AddressCheck kNetworkChecks[] = {
    {{P::kNetwork, "IP Address"}, kIpFormatError},        {{P::kNetwork, "Netmask"}, kNetmaskFormatError},
    {{P::kNetwork, "Gateway IP"}, kGatewayFormatError},   {{P::kNetwork, "First DNS"}, kFirstDnsFormatError},
    {{P::kNetwork, "Second DNS"}, kSecondDnsFormatError},
};

struct DefaultText {
    RowName row;
    const char* text;
};

const DefaultText kDefaults[] = {
    {{P::kDevice, "Device Name"}, ""},
    {{P::kDevice, "User Name"}, ""},
    {{P::kDevice, "Password"}, ""},
    {{P::kNetwork, "Network Mode"}, "Normal Mode"},
    {{P::kNetwork, "DHCP Switch"}, "Disable"},
    {{P::kNetwork, "IP Address"}, "10.1.1.10"},
    {{P::kNetwork, "Netmask"}, "255.0.0.0"},
    {{P::kNetwork, "Gateway IP"}, "10.1.1.1"},
    {{P::kNetwork, "Auto DNS"}, "Disable"},
    {{P::kNetwork, "First DNS"}, "0.0.0.0"},
    {{P::kNetwork, "Second DNS"}, "0.0.0.0"},
    {{P::kInterface, "Port"}, "6006"},
    {{P::kInterface, "Protocol"}, "TCP"},
    {{P::kInterface, "Work Mode"}, "Server Mode"},
    {{P::kInterface, "Peer IP Address"}, "10.1.1.105"},
    {{P::kInterface, "Broadcast Interval(S)"}, "6007"},
    {{P::kInterface, "Timezone"}, "0"},
    {{P::kInterface, "URL Switch"}, "Disable"},
    {{P::kInterface, "URL"}, ""},
    {{P::kSerial, "Baudrate"}, "9600 bps"},
    {{P::kSerial, "Parity"}, "NONE"},
    {{P::kSerial, "Data Bits"}, "8 bit"},
    {{P::kSerial, "Stop Bits"}, "1 bit"},
    {{P::kSerial, "Flow Control"}, "NONE"},
    {{P::kSerial, "Max Length(Bytes)"}, "1000"},
    {{P::kSerial, "Max Interval(ms)"}, "10"},
};

}  // namespace

ParamSheet::ParamSheet(std::vector<std::string> protocol_names) : protocol_names_(std::move(protocol_names)) {
    sheet_.pages = {SystemPage(), DevicePage(), NetworkPage(), InterfacePage(protocol_names_), SerialPage()};
}

void ParamSheet::FillSystemPage(const DeviceRecordBytes& record, std::span<const uint8_t> block) {
    RequireBlock(block, sizeof(VkParamSinglePort), "the parameter window");
    const auto record_text = [&](size_t offset) { return FieldText(record.data() + offset, 16); };
    SheetPage& page = sheet_.pages[kSystem];
    page.Row("IP Address").text = record_text(VK_SR_IP);
    page.Row("Netmask").text = record_text(VK_SR_NETMASK);
    page.Row("Gateway IP").text = record_text(VK_SR_GATEWAY);
    page.Row("Peer IP").text = record_text(VK_SR_PEER_IP);
    page.Row("DHCP flag").text = EnableText(block[offsetof(VkParamSinglePort, dhcp)] == 1);
    page.Row("Auto DNS").text = EnableText(block[offsetof(VkParamSinglePort, auto_dns)] == 1);
    page.Row("First DNS").text = record_text(VK_SR_DNS1);
    page.Row("Second DNS").text = record_text(VK_SR_DNS2);
}

void ParamSheet::Show(std::span<const uint8_t> block) {
    RequireBlock(block, sizeof(VkParamSinglePort), "the parameter window");
    ShowRows(sheet_, block, protocol_names_);
    SetNetworkMarks(block[offsetof(VkParamSinglePort, dhcp)] == 1);
    sheet_.Row({kInterface, "URL"}).inactive = block[offsetof(VkParamSinglePort, url_switch)] != 1;
}

// With DHCP on, the device takes its addresses from the network: the typed ones are inactive, the
// automatic DNS active; off, the reverse.
void ParamSheet::SetNetworkMarks(bool dhcp_on) {
    SheetPage& network = sheet_.pages[kNetwork];
    for (const char* caption : {"IP Address", "Netmask", "Gateway IP"})
        network.Row(caption).inactive = dhcp_on;
    network.Row("Auto DNS").inactive = !dhcp_on;
}

// A peer and a broadcast interval mean nothing to a device that only serves.
void ParamSheet::SetInterfaceMarks() {
    SheetPage& page = sheet_.pages[kInterface];
    page.Row("URL").inactive = page.Row("URL Switch").text == "Disable";
    const bool server = page.Row("Work Mode").text == "Server Mode";
    page.Row("Peer IP Address").inactive = server;
    page.Row("Broadcast Interval(S)").inactive = server;
}

std::vector<std::string> ParamSheet::AfterEdit(size_t page) {
    std::vector<std::string> errors;
    if (page == kNetwork) {
        for (const auto& check : kNetworkChecks) {
            if (!IsValidIP(sheet_.Text(check.row))) errors.push_back(check.error);
        }
        SetNetworkMarks(Text(kNetwork, "DHCP Switch") == "Enable");
    } else if (page == kInterface || page == kSerial) {
        if (!IsValidIP(Text(kInterface, "Peer IP Address"))) errors.push_back(kPeerIpFormatError);
        SetInterfaceMarks();
    }
    return errors;
}

void ParamSheet::PageShown(size_t page) {
    if (page != kDevice) return;
    sheet_.Row({kDevice, "Firmware Version"}).inactive = true;
    sheet_.Row({kSystem, "MAC Address"}).inactive = true;
}

std::optional<std::string> ParamSheet::Modity(std::span<uint8_t> block) {
    RequireBlock(block, sizeof(VkParamSinglePort), "the parameter window");
    if (auto error = StoreRows(sheet_, kStoreOrder, block, protocol_names_)) return error;
    Modified = 1;
    return std::nullopt;
}

void ParamSheet::Default() {
    for (const auto& d : kDefaults)
        sheet_.Row(d.row).text = d.text;
}

}  // namespace torvane
