#include "core/model_family.h"

#include "vkcfg.h"

namespace torvane {

bool IsFirstGeneration(uint8_t model_code) {
    return model_code == VK_MODEL_VKA100 || model_code == VK_MODEL_VKB220;
}

bool IsExtendedDevice(uint8_t model_code) {
    return model_code == VK_MODEL_EXTENDED;
}

bool HasMultiPortCode(uint8_t model_code) {
    const int nibble = model_code >> 4;
    return nibble == 3 || nibble == 9;
}

bool IsStandardDevice(uint8_t model_code) {
    return IsFirstGeneration(model_code) || model_code == VK_MODEL_VKB200;
}

std::optional<ParamLayout> LayoutOf(uint8_t model_code) {
    if (IsFirstGeneration(model_code)) return ParamLayout::kFirstGeneration;
    if (model_code == VK_MODEL_VKB200) return ParamLayout::kSinglePort;
    if (IsExtendedDevice(model_code)) return ParamLayout::kExtended;
    if (HasMultiPortCode(model_code) && ChannelCount(model_code) > 0) return ParamLayout::kMultiPort;
    return std::nullopt;
}

bool SameLayout(uint8_t searched_code, uint8_t read_code) {
    const auto layout = LayoutOf(searched_code);
    if (layout == ParamLayout::kExtended) return true;
    return layout && LayoutOf(read_code) == layout && ChannelCount(read_code) == ChannelCount(searched_code);
}

int ChannelCount(uint8_t model_code) {
    return vk_get_device_uart_number(model_code);
}

UpdateVariant UpdateVariantFor(uint8_t model_code) {
    if (model_code == VK_MODEL_VKA100) return UpdateVariant::kA;
    if (model_code == VK_MODEL_VKB200) return UpdateVariant::kB;
    return UpdateVariant::kC;
}

}  // namespace torvane
