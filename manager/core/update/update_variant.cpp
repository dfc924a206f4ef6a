#include "core/update/update_variant.h"

namespace torvane {

UpdateVariant UpdateVariantFor(uint8_t model_code) {
    if (model_code == 0x01) return UpdateVariant::kA;
    if (model_code == 0x10) return UpdateVariant::kB;
    return UpdateVariant::kC;
}

}  // namespace torvane
