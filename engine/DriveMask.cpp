#include "engine/DriveMask.h"

#include <algorithm>

namespace quillon {

std::uint32_t DriveMask(const Form& form, CheckList list) {
    std::uint32_t mask = 0;
    const int count = std::min(kDriveCount, form.listCount(list));
    for (int i = 0; i < count; ++i)
        if (form.listSelected(list, i)) mask |= std::uint32_t{1} << i;
    return mask;
}

std::string MaskDigits(std::uint32_t mask) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[mask & 0xF]);
        mask >>= 4;
    } while (mask != 0);
    return digits;
}

}  // namespace quillon
