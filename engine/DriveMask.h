#pragma once
// A drive-letter list box as a policy mask: bit i for item i (A: is bit 0).
#include <cstdint>
#include <string>

#include "engine/Form.h"

namespace quillon {

std::uint32_t DriveMask(const Form& form, CheckList list);

// Upper-case hexadecimal digits without leading zeros ("0" for no drive).
std::string MaskDigits(std::uint32_t mask);

}  // namespace quillon
