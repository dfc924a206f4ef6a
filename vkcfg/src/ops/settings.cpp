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
    // leaves the caller's record unchanged and nothing past the layout asked for is read or written.
    switch (codec::FamilyOf(login.model_code)) {
        case codec::Family::kFirstGeneration: {
            VkaWorkBlock block{};
            int result = TextReadSettings(ip, codec::MacText(mac).c_str(), block);
            if (result != VK_OK) return result;
            VkParamRecord copy{};
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
            // The caller's record holds the layout it asked for: an answer of a model with another
            // layout or channel count is not an answer to this read, and nothing of it is copied.
            if (!codec::SameRecordLayout(block[0], login.model_code)) return VK_ERR_UNEXPECTED;
            return codec::BinaryBlockToRecord(block, record) == 0 ? VK_ERR_UNEXPECTED : VK_OK;
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
