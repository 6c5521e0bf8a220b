// LIST, PREVIEW and CHECK: each reads the plan of a run and changes nothing.
#include <algorithm>
#include <map>
#include <set>

#include "console/NetRun.h"
#include "console/Report.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/ServiceCatalogue.h"
#include "planning/Plan.h"
#include "engine/SelectionForm.h"
#include "words/StepNames.h"
#include "effects/ChangeWords.h"

namespace quillon::console {
namespace {

// What each box (or Services entry) of one page does when ticked, or when not.
std::map<int, std::vector<std::string>> EffectsByBox(VerbContext& verb, Page page, bool ticked) {
    SelectionForm selection;
    selection.tickEverything(ticked);
    const Page pages[] = {page};
    std::map<int, std::vector<std::string>> byBox;
    for (const PlannedEffect& planned : PlanRun(selection, verb.platform, verb.userName, pages)) {
        const std::string what = DescribeEffect(planned.effect);
        if (page == Page::Services && planned.step.entry >= 0) byBox[planned.step.entry].push_back(what);
        for (int box : planned.step.boxes)
            if (box >= 0) byBox[box].push_back(what);
    }
    return byBox;
}

std::string Joined(const std::vector<std::string>& effects) {
    if (effects.empty()) return "nothing";
    std::string text;
    for (const std::string& effect : effects) text += (text.empty() ? "" : " ; ") + effect;
    return text;
}

}  // namespace

std::string Tabbed(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) {
        if (&field != fields.begin()) line += '\t';
        const std::size_t start = line.size();
        line += field;
        for (std::size_t i = start; i < line.size(); ++i)
            if (line[i] == '\t' || line[i] == '\r' || line[i] == '\n') line[i] = ' ';
    }
    return line;
}

std::vector<Page> InRunOrder(const std::vector<Page>& pages) {
    std::vector<Page> ordered;
    for (Page page : RunOrder())
        if (std::find(pages.begin(), pages.end(), page) != pages.end()) ordered.push_back(page);
    return ordered;
}

int List(VerbContext& verb) {
    for (Page page : InRunOrder(verb.request.pages)) {
        const auto ticked = EffectsByBox(verb, page, true);
        const auto unticked = EffectsByBox(verb, page, false);
        std::set<int> numbers;
        if (page == Page::Services)
            for (int entry = 0; entry < kServiceCount; ++entry) numbers.insert(entry);
        else
            for (int box = 0; box < kCheckBoxCount; ++box)
                if (PageOfBox(box) == page) numbers.insert(box);
        for (int number : numbers) {
            const std::string caption =
                page == Page::Services ? std::string(kServices[number].listText) : BoxCaption(number);
            const auto side = [&](const std::map<int, std::vector<std::string>>& effects) {
                auto found = effects.find(number);
                return Joined(found == effects.end() ? std::vector<std::string>{} : found->second);
            };
            verb.terminal.out(Tabbed({PageName(page), std::to_string(number), caption, side(ticked), side(unticked)}));
        }
    }
    return kDone;
}

int Preview(VerbContext& verb, const SavedSelection* saved) {
    for (const Change& change : PlanNetChange(verb, saved))
        if (change.changed && change.present) verb.terminal.out(ChangeLine(change));
    return kDone;
}

int Check(VerbContext& verb, const SavedSelection* saved) {
    // A tool whose effect cannot be read back, or a service the machine does
    // not have, says nothing about whether the machine matches.
    const std::vector<Change> changes = PlanNetChange(verb, saved);
    RunResult result{{}, {"drift"}, {"drift", "ok", "not checked", "not present"}, std::nullopt};
    // Only the drifting changes are printed as lines; the others are counted,
    // and their words are made only where a document or an event shows them.
    const bool wordsOfAll = verb.request.json || verb.outcome;
    bool drifted = false;
    for (const Change& change : changes) {
        const char* found = !change.present    ? "not present"
                            : !change.changed  ? "ok"
                            : !change.readable ? "not checked"
                                               : "drift";
        const bool drift = found == std::string_view("drift");
        drifted = drifted || drift;
        ChangeOutcome counted;
        counted.result = found;
        result.changes.push_back(drift || wordsOfAll ? Outcome(change, found) : std::move(counted));
    }
    int status = drifted ? kDrifted : kDone;
    // A machine missing from the fleet's report must not pass for one that matches.
    if (verb.request.reportFile)
        status = AppendReport(verb, NetChangeRows(verb, saved, changes, {}, false), status, kBadUsage);
    PrintResult(verb, result, status);
    return status;
}

}  // namespace quillon::console
