#include "codec/models.h"

#include "vkcfg.h"

namespace vkcfg::codec {

const std::array<ModelRow, kModelSlots> kModelTable{{
    {"Unknown", 0x00, 0, 0},
    {"VKA100", VK_MODEL_VKA100, 1, 1},
    {"VKB200", VK_MODEL_VKB200, 1, 1},
    {"VKB220", VK_MODEL_VKB220, 1, 1},
    {"VKB301", VK_MODEL_VKB301, 1, 1},
    {"VKB302", VK_MODEL_VKB302, 2, 2},
    {"VKB303", VK_MODEL_VKB303, 3, 3},
    {"VKB304", VK_MODEL_VKB304, 4, 4},
    {"VKB308", VK_MODEL_VKB308, 8, 8},
    {"VLC601", VK_MODEL_VLC601, 0, 1},
    {"VLC602", VK_MODEL_VLC602, 2, 3},
    {"VLC611", VK_MODEL_VLC611, 0, 2},
    {"VLC621", VK_MODEL_VLC621, 3, 3},
    {"", 0x00, 0, 0},
    {"", 0x00, 0, 0},
    {"", 0x00, 0, 0},
}};

const ModelRow* FindModelByCode(uint8_t code) {
    for (const auto& row : kModelTable) {
        if (row.model_code == code) return &row;
    }
    return nullptr;
}

Family FamilyOf(uint8_t code) {
    if (code == VK_MODEL_VKA100 || code == VK_MODEL_VKB220) return Family::kFirstGeneration;
    if (code == VK_MODEL_VKB200) return Family::kSinglePort;
    if ((code >> 4) == 0x3 || (code >> 4) == 0x9) return Family::kMultiPort;
    return Family::kOther;
}

size_t ChannelCount(uint8_t code) {
    const ModelRow* row = FindModelByCode(code);
    return row ? row->uart_number : 0;
}

const char* ErrorText(int result) {
    constexpr const char* kUnknown = "\xce\xb4\xd6\xaa\xb4\xed\xce\xf3";  // "未知错误"
    // Only values inside the enum's range may be converted to it.
    if (result < VK_ERR_PASSWORD || result > VK_SECOND_GENERATION) return kUnknown;
    // A switch over the result enum without a default: a new code without a text is a compiler warning.
    switch (static_cast<VkResult>(result)) {
        case VK_OK:  // "函数操作成功，正确返回"
            return "\xba\xaf\xca\xfd\xb2\xd9\xd7\xf7\xb3\xc9\xb9\xa6\xa3\xac\xd5\xfd\xc8\xb7\xb7\xb5\xbb\xd8";
        case VK_ERR_NETWORK:  // "网络操所错误"
            return "\xcd\xf8\xc2\xe7\xb2\xd9\xcb\xf9\xb4\xed\xce\xf3";
        case VK_ERR_UNEXPECTED:  // "返回不期望的数据，操作不成功"
            return "\xb7\xb5\xbb\xd8\xb2\xbb\xc6\xda\xcd\xfb\xb5\xc4\xca\xfd\xbe\xdd\xa3\xac\xb2\xd9\xd7\xf7"
                   "\xb2\xbb\xb3\xc9\xb9\xa6";
        case VK_ERR_NO_ANSWER:  // "无数据返回，无法联系设备"
            return "\xce\xde\xca\xfd\xbe\xdd\xb7\xb5\xbb\xd8\xa3\xac\xce\xde\xb7\xa8\xc1\xaa\xcf\xb5\xc9\xe8"
                   "\xb1\xb8";
        case VK_ERR_WRITE_PROTECTED:  // "参数保护，写错误"
            return "\xb2\xce\xca\xfd\xb1\xa3\xbb\xa4\xa3\xac\xd0\xb4\xb4\xed\xce\xf3";
        case VK_ERR_ARGUMENT:  // "入口参数错误"
            return "\xc8\xeb\xbf\xda\xb2\xce\xca\xfd\xb4\xed\xce\xf3";
        case VK_ERR_PASSWORD:  // "密码错误"
            return "\xc3\xdc\xc2\xeb\xb4\xed\xce\xf3";
        case VK_SECOND_GENERATION:  // not an error: an answer of vka_search_one; has no text of its own
            break;
    }
    return kUnknown;
}

}  // namespace vkcfg::codec
