#include "core/params/extended_fields.h"

#include <string>

#include "core/params/ex_param_block.h"

namespace torvane::params {

std::vector<Field> ExtendedFields(const std::vector<std::string>& protocol_names) {
    using namespace torvane::extended;
    const std::vector<std::string> work_modes{"server", "auto", "client", "multi_socket"};
    const std::vector<std::string> parities{"none", "even", "odd", "mark", "space", "special"};
    const auto le16 = [](const char* name, size_t at) {
        return NumberField(name, Codec::kLe16, at, 0, 65535);
    };
    std::vector<Field> f{
        ReadOnlyField("model_code", Codec::kU8, kModelCode, "the device's model"),
        ReadOnlyField("mac", Codec::kMac, kMac, "the device's own"),
        ReadOnlyField("firmware_version", Codec::kText, kFirmwareVersion, "the device's own",
                      kFirmwareVersionSize),
        TextField("device_name", kDeviceName, kNameSize, 9),
        AddressField("ip", Codec::kAddressBytes, kIp),
        AddressField("netmask", Codec::kAddressBytes, kNetmask),
        AddressField("gateway", Codec::kAddressBytes, kGateway),
        NumberField("local_port", Codec::kBe16, kLocalPort, 0, 65535),
        NumberField("work_mode", Codec::kU8, kWorkMode, 0, 3, work_modes),
        SwitchField("dhcp", kDhcp),
        AddressField("peer_ip", Codec::kAddressBytes, kPeerIp),
        NumberField("peer_port", Codec::kBe16, kPeerPort, 0, 65535),
        NumberField("protocol", Codec::kU8, kProtocol, 0, 5, protocol_names),
        SwitchField("url_switch", kUrlSwitch),
        SwitchField("auto_dns", kAutoDns),
        AddressField("dns1", Codec::kAddressBytes, kDns1),
        AddressField("dns2", Codec::kAddressBytes, kDns2),
        TextField("url", kUrl, kUrlSize, 30),
        NumberField("max_length", Codec::kLe16, kMaxLength, 0, 1536),
        NumberField("max_interval", Codec::kU8, kMaxInterval, 0, 255),
        NumberField("keep_alive", Codec::kU8, kKeepAlive, 0, 255),
        BaudField("baud_rate", Codec::kBaudLe16, kBaudRate, RuleKind::kBaudHundreds),
        NumberField("data_bits", Codec::kU8, kDataBits, 7, 8),
        NumberField("parity", Codec::kU8, kParity, 0, 5, parities),
        NumberField("stop_bits", Codec::kU8, kStopBits, 1, 2),
        NumberField("flow_control", Codec::kU8, kFlowControl, 0, 1, {"none", "cts_rts"}),
        TextField("user_name", kUserName, kNameSize, 9),
        TextField("password", kPassword, kNameSize, 9),
        BaudField("source_baud_rate", Codec::kBaudLe16, kSourceBaudRate, RuleKind::kBaudHundreds),
        NumberField("source_data_bits", Codec::kU8, kSourceDataBits, 7, 8),
        NumberField("source_parity", Codec::kU8, kSourceParity, 0, 5, parities),
        NumberField("source_stop_bits", Codec::kU8, kSourceStopBits, 1, 2),
        SwitchField("receive_broadcast", kReceiveBroadcast),
        le16("request_interval", kRequestInterval),
        le16("first_request_interval", kFirstRequestInterval),
        SwitchField("oscillator_rectify", kOscillatorRectify),
        NumberField("time_zone", Codec::kI8, kTimeZone, -12, 14),
        le16("offline_lifetime", kOfflineLifetime),
        le16("rectify_max_ppm", kRectifyMaxPpm),
        le16("adjust_error_ms", kAdjustErrorMs),
        le16("adjust_max", kAdjustMax),
    };
    for (auto& field : f)
        field.secret = field.name == "password";
    for (size_t i = 0; i < kTimeServers; ++i) {
        // A server text fills at most 31 bytes so that a NUL always ends it.
        f.push_back(TextField("time_server" + std::to_string(i + 1), kTimeServer1 + i * kTimeServerSize,
                              kTimeServerSize, kTimeServerSize - 1));
    }
    return f;
}

}  // namespace torvane::params
