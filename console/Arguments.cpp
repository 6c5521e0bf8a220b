#include "console/Arguments.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>

#include "engine/ServiceCatalogue.h"
#include "platform/TextMatch.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {

bool IsOption(const std::string& argument) {
    return argument.size() > 1 && (argument.front() == '/' || argument.front() == '-');
}

constexpr const char* kVerbNames[] = {"LIST", "STATUS", "PREVIEW", "APPLY", "UNDO", "CHECK", "EXPORT", "SUMMARY", "VERSION", "/?"};

std::optional<Verb> VerbNamed(const std::string& name) {
    for (int verb = 0; verb < static_cast<int>(Verb::Usage); ++verb)
        if (EqualNoCase(name, kVerbNames[verb])) return static_cast<Verb>(verb);
    return std::nullopt;
}


std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Adds one list of /on or /off; the message when an entry is not a box.
std::optional<std::string> AddListed(ListedBoxes& listed, bool on, const std::string& list) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string item = Trimmed(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (auto problem = AddListedItem(listed, on, item)) return problem;
        if (comma == std::string::npos) return std::nullopt;
        start = comma + 1;
    }
}

std::string VerbName(Verb verb) { return kVerbNames[static_cast<int>(verb)]; }

}  // namespace

// Windows drops a name's trailing dots and blanks, except through the
// long-path form the records are written by: "C:\x.dat." would be read or
// written as C:\x.dat, a file the user did not name, and such a folder would
// be one most programs cannot open.
bool PlainPath(const std::string& path) {
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
        const std::string_view part = std::string_view(path).substr(start, end - start);
        if (part != "." && part != ".." && !part.empty() && (part.back() == '.' || part.back() == ' ')) return false;
        start = end + 1;
    }
    return true;
}

bool ListedBoxes::empty() const {
    return onBoxes.empty() && offBoxes.empty() && onEntries.empty() && offEntries.empty() && !prefetch && !priority &&
           !option && !downloadPath && !hide && !deny;
}

std::optional<std::string> AddListedItem(ListedBoxes& listed, bool on, const std::string& item) {
    int number = -1;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), number);
    if (!item.empty() && error == std::errc() && end == item.data() + item.size()) {
        if (number < 0 || number >= kCheckBoxCount || !PageOfBox(number))
            return "unknown box \"" + item + "\"; boxes are numbered 0 to 76";
        if (*PageOfBox(number) == Page::Startup)
            return "box " + item + " is on the Startup page, which /on and /off do not cover";
        (on ? listed.onBoxes : listed.offBoxes).insert(number);
        return std::nullopt;
    }
    for (int i = 0; i < kServiceCount; ++i)
        if (EqualNoCase(item, std::string(kServices[i].serviceName))) {
            (on ? listed.onEntries : listed.offEntries).insert(i);
            return std::nullopt;
        }
    return "unknown box or service \"" + item + "\"";
}

std::optional<std::string> CheckListed(const ListedBoxes& listed, std::vector<Page>& pages) {
    for (int box : listed.onBoxes)
        if (listed.offBoxes.contains(box)) return "box " + std::to_string(box) + " is given to both /on and /off";
    for (int entry : listed.onEntries)
        if (listed.offEntries.contains(entry))
            return "service " + std::string(kServices[entry].serviceName) + " is given to both /on and /off";
    std::vector<Page> needed;
    for (const auto* boxes : {&listed.onBoxes, &listed.offBoxes})
        for (int box : *boxes) needed.push_back(*PageOfBox(box));
    if (!listed.onEntries.empty() || !listed.offEntries.empty()) needed.push_back(Page::Services);
    if (listed.namesControl("Combo2")) needed.push_back(Page::System);
    for (const char* control : {"txtPath", "lstHide", "lstNot"})
        if (listed.namesControl(control)) needed.push_back(Page::Security);
    const bool given = !pages.empty();
    for (Page page : needed) {
        const bool in = std::find(pages.begin(), pages.end(), page) != pages.end();
        if (in) continue;
        if (given) return "a listed box is on the " + PageName(page) + " page, which /page leaves out";
        pages.push_back(page);
    }
    return std::nullopt;
}

std::optional<Page> PageNamed(const std::string& name) {
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed})
        if (EqualNoCase(name, PageName(page))) return page;
    return std::nullopt;
}

std::vector<Page> DefaultPages(Verb verb) {
    if (verb == Verb::Status) return {Page::System, Page::Security, Page::Services};
    return {Page::System, Page::Security, Page::Services, Page::Speed};
}

namespace {

// Which verbs take an option, as a set of bits.
using Verbs = unsigned;
constexpr Verbs Bit(Verb verb) { return 1u << static_cast<unsigned>(verb); }
constexpr Verbs kPlans = Bit(Verb::Preview) | Bit(Verb::Apply) | Bit(Verb::Check);

using Problem = std::optional<std::string>;

// The one refusal of such a name, for every file or folder the console reads or writes.
Problem NotPlain(const std::string& given, const std::string& path) {
    if (PlainPath(path)) return std::nullopt;
    return given + ": a file or folder name may not end in a dot or a blank: " + path;
}

Problem SetFile(std::optional<std::string>& field, const std::string& value, const char* option, const char* what) {
    if (auto refused = NotPlain(std::string("option /") + option, value)) return refused;
    if (field) return std::string("option /") + option + " is given twice";
    if (value.empty()) return std::string("option /") + option + " needs " + what;
    field = value;
    return std::nullopt;
}

Problem SetPage(Request& request, const std::string& value) {
    auto page = PageNamed(value);
    const bool status = request.verb == Verb::Status;
    if (!page || (status && *page == Page::Speed))
        return "unknown page \"" + value + "\"; the pages are " +
               (status ? "System, Security and Services" : "System, Security, Services and Speed");
    if (std::find(request.pages.begin(), request.pages.end(), *page) == request.pages.end())
        request.pages.push_back(*page);
    return std::nullopt;
}

Problem SetUndoRoot(Request& request, const std::string& value) {
    return SetFile(request.undoRoot, value, "undodir", "a folder");
}

Problem Flag(bool& option) {
    option = true;
    return std::nullopt;
}

Problem SetListed(Request& request, bool on, const std::string& value) {
    if (!request.listed) request.listed.emplace();
    return AddListed(*request.listed, on, value);
}

Problem SetWait(Request& request, const std::string& value) {
    int seconds = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || seconds < 0 || seconds > 86400)
        return "option /wait needs a number of seconds from 0 to 86400, not \"" + value + "\"";
    request.waitSeconds = seconds;
    return std::nullopt;
}

Problem SetScope(Request& request, const std::string& value) {
    if (request.scope) return "option /scope is given twice";
    if (EqualNoCase(value, "machine")) request.scope = TargetScope::Machine;
    else if (EqualNoCase(value, "user")) request.scope = TargetScope::User;
    else return "option /scope needs machine or user, not \"" + value + "\"";
    return std::nullopt;
}

struct Option {
    std::string_view name;
    Verbs verbs;
    bool flag;  // takes no value
    Problem (*set)(Request&, const std::string& value);
};

// The reading verbs wait for a run like the changing ones, to see all of it or none.
const Option kOptions[] = {
    {"page", kPlans | Bit(Verb::List) | Bit(Verb::Status), false, SetPage},
    {"selection", kPlans | Bit(Verb::Export), false,
     [](Request& r, const std::string& v) { return SetFile(r.selectionFile, v, "selection", "a file name"); }},
    {"boxes", kPlans | Bit(Verb::Export), false,
     [](Request& r, const std::string& v) { return SetFile(r.boxesFile, v, "boxes", "a file name"); }},
    {"on", kPlans, false, [](Request& r, const std::string& v) { return SetListed(r, true, v); }},
    {"off", kPlans, false, [](Request& r, const std::string& v) { return SetListed(r, false, v); }},
    {"noundo", Bit(Verb::Apply), true, [](Request& r, const std::string&) { return Flag(r.noUndo); }},
    {"undodir", Bit(Verb::Apply) | Bit(Verb::Undo), false, SetUndoRoot},
    {"list", Bit(Verb::Undo), true, [](Request& r, const std::string&) { return Flag(r.listRecords); }},
    {"show", Bit(Verb::Undo), true, [](Request& r, const std::string&) { return Flag(r.showRecord); }},
    {"force", Bit(Verb::Export), true, [](Request& r, const std::string&) { return Flag(r.force); }},
    {"scope", kPlans | Bit(Verb::Export) | Bit(Verb::Undo), false, SetScope},
    {"wait", kPlans | Bit(Verb::Undo) | Bit(Verb::Status) | Bit(Verb::Export), false, SetWait},
    {"computer", Bit(Verb::Undo), false,
     [](Request& r, const std::string& v) { return SetFile(r.computer, v, "computer", "a computer's name"); }},
    {"user", Bit(Verb::Undo), false,
     [](Request& r, const std::string& v) { return SetFile(r.user, v, "user", "a user's name"); }},
    {"json", Bit(Verb::Check) | Bit(Verb::Apply) | Bit(Verb::Undo) | Bit(Verb::Summary), true,
     [](Request& r, const std::string&) { return Flag(r.json); }},
    {"report", Bit(Verb::Check) | Bit(Verb::Apply) | Bit(Verb::Undo) | Bit(Verb::Status), false,
     [](Request& r, const std::string& v) { return SetFile(r.reportFile, v, "report", "a file name"); }},
};

const Option* OptionNamed(std::string_view name) {
    for (const Option& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

// Options that do not go together, or that need another.
Problem CombinationProblem(Request& request) {
    if (request.listRecords && request.undoFolder) return "UNDO /list takes no folder";
    if ((request.computer || request.user) && !request.listRecords) return "/computer and /user go with UNDO /list";
    if (request.showRecord && (!request.undoFolder || request.listRecords))
        return "UNDO /show needs the folder of the record to show";
    if ((request.listRecords || request.showRecord) && request.reportFile) return "UNDO /list and /show take no /report";
    if ((request.listRecords || request.showRecord) && request.json) return "UNDO /list and /show take no /json";
    if (request.noUndo && request.undoRoot) return "options /noundo and /undodir do not go together";
    if (request.boxesFile && request.selectionFile) return "/boxes and /selection cannot be given together";
    if (request.listed) {
        if (request.selectionFile) return "/on and /off cannot be given with /selection";
        if (request.boxesFile) return "/on and /off cannot be given with /boxes";
        if (request.listed->empty()) return "/on and /off name no box";
        if (auto problem = CheckListed(*request.listed, request.pages)) return problem;
    }
    if (request.verb == Verb::Summary && !request.fleetFolder) return "SUMMARY needs FOLDER, the report folder";
    if (request.verb == Verb::Export && !request.selectionFile && !request.boxesFile)
        return "EXPORT needs /selection FILE or /boxes FILE, the file to write";
    return std::nullopt;
}

// One argument from `i` on (an option may take the next as its value); `i` is left on the last one read.
Problem TakeArgument(Request& request, std::span<const std::string> arguments, std::size_t& i) {
    const std::string& argument = arguments[i];
    if (!IsOption(argument)) {
        if (request.verb == Verb::Undo && !request.undoFolder) {
            if (auto refused = NotPlain("UNDO", argument)) return refused;
            request.undoFolder = argument;
            return std::nullopt;
        }
        if (request.verb == Verb::Summary && !request.fleetFolder) {
            if (auto refused = NotPlain("SUMMARY", argument)) return refused;
            request.fleetFolder = argument;
            return std::nullopt;
        }
        return "unexpected argument \"" + argument + "\" for " + VerbName(request.verb);
    }
    // "/page:System" reads as "/page System".
    std::string name = Lower(argument.substr(1));
    std::optional<std::string> value;
    if (auto colon = name.find(':'); colon != std::string::npos) {
        value = argument.substr(1 + colon + 1);
        name.resize(colon);
    }
    const Option* option = OptionNamed(name);
    if (!option || !(option->verbs & Bit(request.verb)))
        return "option " + argument + " is not known to " + VerbName(request.verb);
    if (option->flag && value) return "option /" + name + " takes no value";
    if (!option->flag && !value) {
        if (i + 1 >= arguments.size()) return "option /" + name + " needs a value";
        value = arguments[++i];
    }
    return option->set(request, value.value_or(std::string()));
}

}  // namespace

std::variant<Request, UsageError> ParseArguments(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments)
        if (argument == "/?" || argument == "-?" || Lower(argument) == "/help" || Lower(argument) == "-help")
            return Request{};
    if (arguments.empty()) return UsageError{"no verb given; type quillonc /? for help"};

    Request request;
    auto verb = VerbNamed(arguments[0]);
    if (!verb) return UsageError{"unknown verb \"" + arguments[0] + "\"; the verbs are LIST, STATUS, PREVIEW, APPLY, UNDO, CHECK, EXPORT, SUMMARY and VERSION"};
    request.verb = *verb;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        if (auto problem = TakeArgument(request, arguments, i)) return UsageError{*problem};
    if (auto problem = CombinationProblem(request)) return UsageError{*problem};
    return request;
}

}  // namespace quillon::console
