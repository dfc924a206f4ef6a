#include "core/params/field_table.h"

#include <cstddef>
#include <set>

#include "core/params/extended_fields.h"
#include "vkcfg.h"

namespace torvane::params {
namespace {

const std::vector<std::string> kWorkModes{"server", "auto", "client", "multi_socket"};
const std::vector<std::string> kParities{"none", "even", "odd", "mark", "space", "special"};
const std::vector<std::string> kFlowControls{"none", "cts_rts"};
const std::vector<std::string> kNetworkModes{"normal", "busy"};

constexpr size_t kNameChars = 9;  // user, password and device name: 9 characters and a NUL
constexpr size_t kUrlChars = 30;
constexpr int64_t kMaxPacketLength = 1536;
constexpr int64_t kPortMax = 65535;
constexpr int64_t kProtocolMax = 5;  // the three built-in protocols and the operator's three

constexpr const char* kDeviceOwn = "the device's own";
constexpr const char* kModelSays = "the device's model";
constexpr const char* kCarried = "carried unchanged: its meaning is the device's";
constexpr const char* kOneStopBit = "the first generation always uses one stop bit";

#define SP(field) offsetof(VkParamSinglePort, field)
#define MP(field) offsetof(VkParamMultiPort, field)

std::vector<Field> SinglePortFields(bool first_generation, const std::vector<std::string>& protocols) {
    const Codec kH16 = Codec::kHost16;
    std::vector<Field> f{
        ReadOnlyField("model_code", Codec::kU8, SP(model_code), kModelSays),
        TextField("user_name", SP(user_name), sizeof(VkParamSinglePort::user_name), kNameChars),
        TextField("password", SP(password), sizeof(VkParamSinglePort::password), kNameChars),
        TextField("device_name", SP(device_name), sizeof(VkParamSinglePort::device_name), kNameChars),
        ReadOnlyField("firmware_version", Codec::kText, SP(firmware_version), kDeviceOwn,
                      sizeof(VkParamSinglePort::firmware_version)),
        ReadOnlyField("mac", Codec::kMac, SP(mac), kDeviceOwn),
        AddressField("ip", Codec::kAddressText, SP(ip)),
        NumberField("local_port", kH16, SP(local_port), 0, kPortMax),
        AddressField("peer_ip", Codec::kAddressText, SP(peer_ip)),
        NumberField("peer_port", kH16, SP(peer_port), 0, kPortMax),
        AddressField("netmask", Codec::kAddressText, SP(netmask)),
        AddressField("gateway", Codec::kAddressText, SP(gateway)),
        AddressField("dns1", Codec::kAddressText, SP(dns1)),
        AddressField("dns2", Codec::kAddressText, SP(dns2)),
        TextField("url", SP(url), sizeof(VkParamSinglePort::url), kUrlChars),
        NumberField("protocol", Codec::kU8, SP(protocol), 0, kProtocolMax, protocols),
        NumberField("work_mode", Codec::kU8, SP(work_mode), 0, 3, kWorkModes),
        SwitchField("dhcp", SP(dhcp)),
        SwitchField("url_switch", SP(url_switch)),
        SwitchField("auto_dns", SP(auto_dns)),
    };
    // Only the first generation keeps the network mode and only the second sets stop bits.
    if (first_generation)
        f.push_back(NumberField("network_mode", Codec::kU8, SP(network_mode), 0, 1, kNetworkModes));
    f.push_back(NumberField("keep_alive", Codec::kU8, SP(keep_alive), 0, 255));
    f.push_back(NumberField("max_interval", Codec::kU8, SP(max_interval), 0, 255));
    f.push_back(NumberField("max_length", kH16, SP(max_length), 0, kMaxPacketLength));
    f.push_back(BaudField("baud_rate", Codec::kHost32, SP(baud_rate),
                          first_generation ? RuleKind::kBaudTable : RuleKind::kBaudHundreds));
    f.push_back(NumberField("parity", Codec::kU8, SP(parity), 0, 5, kParities));
    f.push_back(NumberField("data_bits", Codec::kU8, SP(data_bits), 7, 8));
    f.push_back(first_generation ? ReadOnlyField("stop_bits", Codec::kU8, SP(stop_bits), kOneStopBit)
                                 : NumberField("stop_bits", Codec::kU8, SP(stop_bits), 1, 2));
    f.push_back(NumberField("flow_control", Codec::kU8, SP(flow_control), 0, 1, kFlowControls));
    for (auto& field : f)
        field.secret = field.name == "password";
    return f;
}

// The serial bytes of a channel, in the order the device keeps them.
enum ChannelSerial : size_t { kDataBits, kParity, kStopBits, kFlowControl };

std::vector<Field> MultiPortFields(int channels) {
    std::vector<Field> f{
        ReadOnlyField("model_code", Codec::kU8, MP(model_code), kModelSays),
        TextField("user_name", MP(user_name), sizeof(VkParamMultiPort::user_name), kNameChars),
        TextField("password", MP(password), sizeof(VkParamMultiPort::password), kNameChars),
        TextField("device_name", MP(device_name), sizeof(VkParamMultiPort::device_name), kNameChars),
        ReadOnlyField("firmware_version", Codec::kText, MP(firmware_version), kDeviceOwn,
                      sizeof(VkParamMultiPort::firmware_version)),
        ReadOnlyField("mac", Codec::kMac, MP(mac), kDeviceOwn),
        AddressField("ip", Codec::kAddressText, MP(ip)),
        AddressField("netmask", Codec::kAddressText, MP(netmask)),
        AddressField("gateway", Codec::kAddressText, MP(gateway)),
        ReadOnlyField("option_a", Codec::kU8, MP(option_a), kCarried),
        ReadOnlyField("option_b", Codec::kU8, MP(option_b), kCarried),
        AddressField("dns1", Codec::kAddressText, MP(dns1)),
        AddressField("dns2", Codec::kAddressText, MP(dns2)),
    };
    for (auto& field : f)
        field.secret = field.name == "password";
    for (int i = 0; i < channels; ++i) {
        const size_t base = MP(channels) + static_cast<size_t>(i) * sizeof(VkParamChannel);
        const std::string p = "channels[" + std::to_string(i) + "].";
#define CH(field) base + offsetof(VkParamChannel, field)
        const size_t serial = CH(channel_serial);
        f.push_back(NumberField(p + "local_port", Codec::kHost16, CH(local_port), 0, kPortMax));
        f.push_back(NumberField(p + "peer_port", Codec::kHost16, CH(peer_port), 0, kPortMax));
        f.push_back(AddressField(p + "peer_ip", Codec::kAddressText, CH(peer_ip)));
        f.push_back(ReadOnlyField(p + "channel_options", Codec::kBytes, CH(channel_options), kCarried, 4));
        f.push_back(TextField(p + "url", CH(url), sizeof(VkParamChannel::url), kUrlChars));
        f.push_back(BaudField(p + "baud_rate", Codec::kHost32, CH(baud_rate), RuleKind::kBaudHundreds));
        f.push_back(NumberField(p + "data_bits", Codec::kU8, serial + kDataBits, 7, 8));
        f.push_back(NumberField(p + "parity", Codec::kU8, serial + kParity, 0, 5, kParities));
        f.push_back(NumberField(p + "stop_bits", Codec::kU8, serial + kStopBits, 1, 2));
        f.push_back(NumberField(p + "flow_control", Codec::kU8, serial + kFlowControl, 0, 1, kFlowControls));
        f.push_back(ReadOnlyField(p + "channel_word", Codec::kHost16, CH(channel_word), kCarried));
        f.push_back(ReadOnlyField(p + "channel_byte", Codec::kU8, CH(channel_byte), kCarried));
#undef CH
    }
    return f;
}

#undef SP
#undef MP

AssignmentError BadWord(const std::string& word, const std::string& why) {
    return AssignmentError("\"" + word + "\": " + why);
}

}  // namespace

size_t BlockSize(ParamLayout layout) {
    return layout == ParamLayout::kExtended ? kExtendedBlockSize : sizeof(VkParamRecord);
}

FieldTable::FieldTable(ParamLayout layout, std::vector<Field> fields)
    : layout_(layout), fields_(std::move(fields)) {}

const Field* FieldTable::Find(std::string_view name) const {
    for (const auto& f : fields_) {
        if (f.name == name) return &f;
    }
    return nullptr;
}

std::optional<FieldTable> FieldsFor(uint8_t model_code, const std::vector<std::string>& protocol_names) {
    const auto layout = LayoutOf(model_code);
    if (!layout) return std::nullopt;
    switch (*layout) {
        case ParamLayout::kFirstGeneration:
            return FieldTable(*layout, SinglePortFields(true, protocol_names));
        case ParamLayout::kSinglePort:
            return FieldTable(*layout, SinglePortFields(false, protocol_names));
        case ParamLayout::kMultiPort:
            return FieldTable(*layout, MultiPortFields(ChannelCount(model_code)));
        case ParamLayout::kExtended:
            return FieldTable(*layout, ExtendedFields(protocol_names));
    }
    return std::nullopt;
}

std::vector<Assignment> ParseAssignments(const FieldTable& table, const std::vector<std::string>& words) {
    std::vector<Assignment> out;
    std::set<std::string> seen;
    for (const auto& word : words) {
        const size_t eq = word.find('=');
        if (eq == std::string::npos || eq == 0) throw BadWord(word, "field=value expected");
        const std::string name = word.substr(0, eq);
        const Field* field = table.Find(name);
        if (!field)
            throw BadWord(word, "this device has no field \"" + name + "\" (vkctl show lists its fields)");
        if (!seen.insert(name).second) throw BadWord(word, "\"" + name + "\" is given twice");
        const std::string text = word.substr(eq + 1);
        Parsed parsed = ParseValue(*field, text);
        if (!parsed.ok) throw BadWord(word, name + " " + parsed.error);
        out.push_back({field, std::move(parsed.value)});
    }
    return out;
}

void Apply(const std::vector<Assignment>& assignments, Block& block) {
    for (const auto& a : assignments)
        PutValue(*a.field, a.value, block);
}

std::vector<Change> Diff(const FieldTable& table, const Block& before, const Block& after) {
    std::vector<Change> out;
    for (const auto& f : table.fields()) {
        FieldValue a = GetValue(f, before);
        FieldValue b = GetValue(f, after);
        if (a != b) out.push_back({&f, std::move(a), std::move(b)});
    }
    return out;
}

}  // namespace torvane::params
