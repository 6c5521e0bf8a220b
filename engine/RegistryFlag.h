#pragma once
// A two-sided registry tweak: one box, one value, the data for each side.
#include <optional>
#include <string_view>

#include "engine/RegistryWriter.h"

namespace quillon {

class Platform;

struct RegistryFlag {
    int box;  // chk index
    std::string_view key;  // full root name first, passed to the writer unchanged
    std::string_view valueName;
    RegType type;
    std::string_view tickedData;
    std::optional<std::string_view> untickedData;  // nothing: the box is one-sided
};

inline constexpr std::string_view kFlagOn = "00000001";
inline constexpr std::string_view kFlagOff = "00000000";

// A DWORD flag that is "00000001" when ticked and "00000000" when not.
constexpr RegistryFlag OnOffFlag(int box, std::string_view key, std::string_view valueName) {
    return {box, key, valueName, RegType::Dword, kFlagOn, kFlagOff};
}

// Writes the side the box is on; a one-sided row writes nothing when unticked.
void ApplyRegistryFlag(Platform& platform, const RegistryFlag& flag, bool ticked);

}  // namespace quillon
