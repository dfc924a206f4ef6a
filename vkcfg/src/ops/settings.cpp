#include "ops/settings.h"

#include <array>
#include <cstring>

#include "codec/models.h"
#include "codec/param_record.h"
#include "ops/binary_params.h"
#include "ops/text_params.h"

namespace vkcfg::ops {

int ReadSetting(const char* ip, const codec::MacBytes& mac, VkParamRecord& record, const LoginRecord& login) {
    // The result is built in a copy of the layout's bytes and stored only on success, so a failed read
    // leaves the caller's record unchanged and nothing past the layout is ever read or written.
    VkParamRecord copy{};
    switch (codec::FamilyOf(login.model_code)) {
        case codec::Family::kFirstGeneration: {
            VkaWorkBlock block{};
            int result = TextReadSettings(ip, codec::MacText(mac).c_str(), block);
            if (result != VK_OK) return result;
            std::memcpy(&copy, &record, VK_PARAM_SINGLE_SIZE);
            codec::TextBlockToRecord(block, copy.single);
            std::memcpy(&record, &copy, VK_PARAM_SINGLE_SIZE);
            return VK_OK;
        }
        case codec::Family::kSinglePort:
        case codec::Family::kMultiPort: {
            std::array<uint8_t, VKB_WORK_BLOCK_MAX> block{};
            int result = BinaryReadSettings(ip, mac, block);
            if (result != VK_OK) return result;
            std::memcpy(&copy, &record, codec::RecordLayoutSize(block[0]));
            size_t written = codec::BinaryBlockToRecord(block, copy);
            if (written == 0) return VK_ERR_UNEXPECTED;
            std::memcpy(&record, &copy, written);
            return VK_OK;
        }
        case codec::Family::kOther:
            break;
    }
    return VK_ERR_ARGUMENT;
}

int WriteSetting(const char* ip, const codec::MacBytes& mac, const VkParamRecord& record,
                 const LoginRecord& login) {
    switch (codec::FamilyOf(login.model_code)) {
        case codec::Family::kFirstGeneration:
            return TextWriteSettings(ip, codec::MacText(mac).c_str(),
                                     codec::RecordToTextBlock(record.single));
        case codec::Family::kSinglePort:
        case codec::Family::kMultiPort: {
            auto block = codec::RecordToBinaryBlock(record);
            if (!block) return VK_ERR_ARGUMENT;
            return BinaryWriteSettings(ip, *block);
        }
        case codec::Family::kOther:
            break;
    }
    return VK_ERR_ARGUMENT;
}

}  // namespace vkcfg::ops
