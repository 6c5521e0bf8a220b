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

std::string DescribeStep(const StepTag& step) {
    constexpr const char* kPages[] = {"System", "Security", "Services", "Startup", "Speed"};
    std::string out = kPages[static_cast<int>(step.page)];
    if (step.boxes[0] >= 0) {
        out += step.boxes[1] >= 0 ? ", boxes " : ", box ";
        out += std::to_string(step.boxes[0]);
        if (step.boxes[1] >= 0) out += "/" + std::to_string(step.boxes[1]);
    }
    if (!step.control.empty()) out += ", " + std::string(step.control);
    if (step.entry >= 0) out += " entry " + std::to_string(step.entry) + " (" + step.item + ")";
    return out;
}

std::string DescribeEffect(const Effect& source) {
    // Names are shown, never written raw: a line break in one stays on its line.
    Effect e = source;
    e.target = Printable(e.target);
    e.name = Printable(e.name);
    e.destination = Printable(e.destination);
    const std::string value = e.target + "\\" + (e.name.empty() ? "(Default)" : e.name);
    switch (e.kind) {
    case EffectKind::SetValue: return "set " + value + " = " + DescribeValue(e.data);
    case EffectKind::DeleteValue: return "delete value " + value;
    case EffectKind::CreateKey: return "create key " + e.target + (e.emptiesDefault ? ", its default value empty" : "");
    case EffectKind::DeleteKey: return "delete key " + e.target;
    case EffectKind::CopyKey: return std::string(e.recursive ? "copy key tree " : "copy key ") + e.target + " to " + e.destination;
    case EffectKind::ServiceStart: return "service " + e.target + " start = " + StartModeName(e.startMode);
    case EffectKind::DeleteFile: return "delete file " + e.target;
    case EffectKind::RemoveFolder: return "remove folder " + e.target;
    case EffectKind::CreateFolder: return "create folder " + e.target;
    case EffectKind::CopyFile: return "copy file " + e.destination + " to " + e.target;
    case EffectKind::RunTool: return "run " + e.target;
    }
    return {};
}

}  // namespace quillon
