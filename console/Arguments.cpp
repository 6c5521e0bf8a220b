#include "console/Arguments.h"

#include <algorithm>
#include <initializer_list>

#include "platform/TextMatch.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {

bool IsOption(const std::string& argument) {
    return argument.size() > 1 && (argument.front() == '/' || argument.front() == '-');
}

constexpr const char* kVerbNames[] = {"LIST", "STATUS", "PREVIEW", "APPLY", "UNDO", "VERSION", "/?"};

std::optional<Verb> VerbNamed(const std::string& name) {
    for (int verb = 0; verb < static_cast<int>(Verb::Usage); ++verb)
        if (EqualNoCase(name, kVerbNames[verb])) return static_cast<Verb>(verb);
    return std::nullopt;
}

bool Takes(Verb verb, const std::string& option) {
    if (option == "page") return verb != Verb::Undo && verb != Verb::Version;
    if (option == "selection") return verb == Verb::Preview || verb == Verb::Apply;
    if (option == "noundo") return verb == Verb::Apply;
    if (option == "undodir") return verb == Verb::Apply || verb == Verb::Undo;
    if (option == "list") return verb == Verb::Undo;
    return false;
}

std::string VerbName(Verb verb) { return kVerbNames[static_cast<int>(verb)]; }

}  // namespace

std::optional<Page> PageNamed(const std::string& name) {
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed})
        if (EqualNoCase(name, PageName(page))) return page;
    return std::nullopt;
}

std::vector<Page> DefaultPages(Verb verb) {
    if (verb == Verb::Status) return {Page::System, Page::Security, Page::Services};
    return {Page::System, Page::Security, Page::Services, Page::Speed};
}

std::variant<Request, UsageError> ParseArguments(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments)
        if (argument == "/?" || argument == "-?" || Lower(argument) == "/help" || Lower(argument) == "-help")
            return Request{};
    if (arguments.empty()) return UsageError{"no verb given; type quillonc /? for help"};

    Request request;
    auto verb = VerbNamed(arguments[0]);
    if (!verb) return UsageError{"unknown verb \"" + arguments[0] + "\"; the verbs are LIST, STATUS, PREVIEW, APPLY, UNDO and VERSION"};
    request.verb = *verb;

    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!IsOption(argument)) {
            if (request.verb == Verb::Undo && !request.undoFolder) {
                request.undoFolder = argument;
                continue;
            }
            return UsageError{"unexpected argument \"" + argument + "\" for " + VerbName(request.verb)};
        }
        // "/page:System" reads as "/page System".
        std::string name = Lower(argument.substr(1));
        std::optional<std::string> value;
        if (auto colon = name.find(':'); colon != std::string::npos) {
            value = argument.substr(1 + colon + 1);
            name.resize(colon);
        }
        if (!Takes(request.verb, name))
            return UsageError{"option " + argument + " is not known to " + VerbName(request.verb)};
        if (name == "noundo" || name == "list") {
            if (value) return UsageError{"option /" + name + " takes no value"};
            (name == "list" ? request.listRecords : request.noUndo) = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= arguments.size()) return UsageError{"option /" + name + " needs a value"};
            value = arguments[++i];
        }
        if (name == "page") {
            auto page = PageNamed(*value);
            if (!page || (request.verb == Verb::Status && *page == Page::Speed))
                return UsageError{"unknown page \"" + *value + "\"; the pages are " +
                                  (request.verb == Verb::Status ? "System, Security and Services"
                                                                : "System, Security, Services and Speed")};
            if (std::find(request.pages.begin(), request.pages.end(), *page) == request.pages.end())
                request.pages.push_back(*page);
        } else if (name == "undodir") {
            if (request.undoRoot) return UsageError{"option /undodir is given twice"};
            if (value->empty()) return UsageError{"option /undodir needs a folder"};
            request.undoRoot = *value;
        } else {
            if (request.selectionFile) return UsageError{"option /selection is given twice"};
            if (value->empty()) return UsageError{"option /selection needs a file name"};
            request.selectionFile = *value;
        }
    }
    if (request.listRecords && request.undoFolder) return UsageError{"UNDO /list takes no folder"};
    if (request.noUndo && request.undoRoot) return UsageError{"options /noundo and /undodir do not go together"};
    return request;
}

}  // namespace quillon::console
