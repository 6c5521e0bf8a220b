#include "engine/RegistryFlag.h"

namespace quillon {

void ApplyRegistryFlag(Platform& platform, const RegistryFlag& flag, bool ticked) {
    if (ticked) WriteRegValue(platform, flag.key, flag.type, flag.valueName, flag.tickedData);
    else if (flag.untickedData) WriteRegValue(platform, flag.key, flag.type, flag.valueName, *flag.untickedData);
}

}  // namespace quillon
