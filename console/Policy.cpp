#include "console/Policy.h"

#include "platform/Platform.h"

namespace quillon::console {
namespace {

// The value's text when it is set and sound; a message in `said` when it is set and not.
std::optional<std::string> PolicyText(Platform& platform, std::string_view name, std::vector<std::string>& said) {
    const auto value = platform.registryValue(std::string(kPolicyKey), std::string(name));
    if (!value) return std::nullopt;
    const auto text = PlainText(*value);
    if (!text || text->empty() || !PlainPath(*text)) {
        said.push_back("the policy value " + std::string(kPolicyKey) + "\\" + std::string(name) +
                       " is no file or folder name and is left out");
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::vector<std::string> TakePolicyDefaults(Request& request, Platform& platform) {
    std::vector<std::string> said;
    const Verb verb = request.verb;
    const bool records = verb == Verb::Apply || verb == Verb::Undo;
    if (records && !request.undoRoot && !request.noUndo) request.undoRoot = PolicyText(platform, kUndoDirPolicy, said);
    const bool reports = verb == Verb::Status || verb == Verb::Check || verb == Verb::Apply || verb == Verb::Undo;
    if (reports && !request.reportFile && !request.listRecords && !request.showRecord)
        request.reportFile = PolicyText(platform, kReportPolicy, said);
    return said;
}

}  // namespace quillon::console
