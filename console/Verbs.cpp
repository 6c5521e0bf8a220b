#include "console/Verbs.h"

#include <variant>

#include "console/Arguments.h"
#include "console/ConsoleForm.h"
#include "console/Usage.h"
#include "platform/Platform.h"
#include "settings/SelectionFile.h"
#include "settings/StrictSelection.h"

namespace quillon::console {
namespace {

constexpr char kName[] = "quillonc: ";

// The selection the run works on, or the one line that says why there is none.
bool LoadForm(const Request& request, Platform& platform, Terminal& terminal, ConsoleForm& form) {
    const std::string path = request.selectionFile ? *request.selectionFile : SelectionFilePath(platform);
    StrictSelection read = ReadSelectionStrict(platform, path);
    if (auto* problem = std::get_if<SelectionProblem>(&read)) {
        const std::string where = problem->line > 0 ? path + " line " + std::to_string(problem->line) : path;
        terminal.err(kName + where + ": " + problem->reason);
        return false;
    }
    PutSelection(form, std::get<SavedSelection>(read));
    return true;
}

}  // namespace

int RunConsole(std::span<const std::string> arguments, Terminal& terminal, Platform& platform) {
    auto parsed = ParseArguments(arguments);
    if (auto* error = std::get_if<UsageError>(&parsed)) {
        terminal.err(kName + error->message);
        return kBadUsage;
    }
    Request request = std::get<Request>(parsed);
    if (request.pages.empty()) request.pages = DefaultPages(request.verb);

    try {
        switch (request.verb) {
        case Verb::Usage:
            for (const std::string& line : UsageLines()) terminal.out(line);
            return kDone;
        case Verb::Preview:
        case Verb::Apply: {
            ConsoleForm form;
            if (!LoadForm(request, platform, terminal, form)) return kBadUsage;
            terminal.err(std::string(kName) + "not built yet");
            return kBadUsage;
        }
        default:
            terminal.err(std::string(kName) + "not built yet");
            return kBadUsage;
        }
    } catch (const std::exception& error) {
        terminal.err(kName + std::string(error.what()));
        return kSomeStepsFailed;
    }
}

}  // namespace quillon::console
