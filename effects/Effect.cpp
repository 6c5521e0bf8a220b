#include "effects/Effect.h"

#include "platform/TextMatch.h"

namespace quillon {

std::string ServiceOfStartValue(const std::string& key, const std::string& name) {
    const std::string_view services = kServicesKey;
    if (!EqualNoCase(name, "Start") || key.size() <= services.size() || key[services.size()] != '\\' ||
        !StartsWithNoCase(key, services))
        return {};
    const std::string_view service = std::string_view(key).substr(services.size() + 1);
    return service.find('\\') == std::string_view::npos ? std::string(service) : std::string();
}

std::string StartModeName(std::uint32_t mode) {
    constexpr const char* kNames[] = {"boot", "system", "auto", "demand", "disabled"};
    return mode < 5 ? kNames[mode] : std::string();
}

}  // namespace quillon
