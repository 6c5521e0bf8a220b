#include "record/RecordChanges.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {

namespace {

// One fact of the record: a value, key, file or folder with what it held
// before the run and after it.
struct Fact {
    EffectTarget target;
    TargetState before, after;
    bool differs = false;
    bool owned = false;
};

std::vector<Fact> FactsOf(const RecordState& state) {
    std::vector<Fact> facts;
    for (const ValueTarget& v : state.values) {
        const auto after = v.after.value_or(v.before);
        facts.push_back({RecordedTarget(TargetKind::Value, v.key, v.name), ValueState(v.before), ValueState(after), after != v.before});
    }
    for (const KeyTarget& k : state.keys) {
        const bool after = k.after.value_or(k.before);
        facts.push_back({RecordedTarget(TargetKind::Key, k.key), Presence(k.before), Presence(after), after != k.before});
    }
    for (const FileTarget& f : state.files) {
        const bool after = f.after.value_or(f.before);
        facts.push_back({RecordedTarget(TargetKind::File, f.path), Presence(f.before), Presence(after), after != f.before});
    }
    for (const FolderTarget& f : state.folders) {
        const bool after = f.after.value_or(f.before);
        facts.push_back({RecordedTarget(TargetKind::Folder, f.path), Presence(f.before), Presence(after), after != f.before});
    }
    return facts;
}

}  // namespace

std::vector<Change> RecordedChanges(const std::vector<StateLine>& lines) {
    using Is = TargetState::Is;
    std::vector<Fact> facts = FactsOf(BuildRecordState(lines));
    std::vector<Change> changes;
    // A record written before changes were named: each fact is a change of its own.
    if (std::none_of(lines.begin(), lines.end(), [](const StateLine& l) { return l.kind == StateKind::Change; })) {
        for (const Fact& f : facts)
            if (f.differs) changes.push_back({{}, f.target, std::nullopt, f.before, f.after, true});
        return changes;
    }
    std::set<TargetKey> named;        // every target a change line names
    std::set<TargetKey> failedTools;  // tools that never started or said they failed
    for (const StateLine& line : lines) {
        if (line.kind == StateKind::Change) named.insert(ChangedTarget(line).key());
        if (line.kind == StateKind::Failed && line.changed == TargetKind::Tool)
            failedTools.insert(ChangedTarget(line).key());
    }
    std::map<TargetKey, std::size_t> byTarget;
    for (const StateLine& line : lines) {
        if (line.kind != StateKind::Change) continue;
        const EffectTarget target = ChangedTarget(line);
        const auto [known, added] = byTarget.emplace(target.key(), changes.size());
        if (!added) {
            if (known->second < changes.size()) changes[known->second].steps.push_back(TagOf(line.step));
            continue;
        }
        Change change{{TagOf(line.step)}, target, std::nullopt, {}, {}};
        // What a tool did cannot be read back: it ran, unless it failed.
        bool changed = target.kind == TargetKind::Tool && !failedTools.contains(target.key());
        if (changed) change.before = {Is::NotRead}, change.after = {Is::Ran};
        bool own = false;  // a fact of the target itself was found
        int values = 0, valuesAfter = 0;
        bool present = false, presentAfter = false;
        std::optional<RegValue> defaultBefore, defaultAfter;
        for (Fact& fact : facts) {
            const bool registry = fact.target.kind == TargetKind::Value || fact.target.kind == TargetKind::Key;
            // A key a tool adds holds its default value, which the tool may
            // empty, unless a change of its own sets that value.
            const bool itsDefault = target.kind == TargetKind::Key && fact.target.kind == TargetKind::Value &&
                                    fact.target.name.empty() && EqualNoCase(fact.target.path, target.path) &&
                                    !named.contains(fact.target.key());
            const bool mine = target.kind == TargetKind::Tree ? registry && KeyWithin(fact.target.path, target.path)
                                                              : itsDefault || fact.target.key() == target.key();
            if (!mine || fact.owned) continue;
            fact.owned = true;
            changed = changed || fact.differs;
            if (itsDefault) {
                defaultBefore = fact.before.value, defaultAfter = fact.after.value;
            } else if (target.kind != TargetKind::Tree) {
                change.before = fact.before, change.after = fact.after, own = true;
            } else if (fact.target.kind == TargetKind::Value) {
                values += fact.before.is != Is::Absent, valuesAfter += fact.after.is != Is::Absent;
            } else if (EqualNoCase(fact.target.path, target.path)) {
                present = fact.before.is == Is::Present, presentAfter = fact.after.is == Is::Present;
            }
        }
        if (target.kind == TargetKind::Key) {
            if (!own) change.before = change.after = Presence(true);  // only its default value was kept
            change.before.defaultValue = defaultBefore;
            change.after.defaultValue = defaultAfter;
        }
        if (target.kind == TargetKind::Tree) {
            const auto summary = [](bool there, int count) {
                TargetState tree = Presence(there);
                if (there) tree.values = count;
                return tree;
            };
            change.before = summary(present || values > 0, values);
            change.after = summary(presentAfter || valuesAfter > 0, valuesAfter);
        }
        change.changed = changed;
        if (changed) changes.push_back(std::move(change));
        else known->second = static_cast<std::size_t>(-1);  // the run left it as it found it
    }
    return changes;
}

StepTag TagOf(const RecordedStep& step) {
    // The control is named by the tag's own list: the tag outlives the record read.
    return StepTag{step.page, step.boxes, KnownStepControl(step.control), step.entry, step.item};
}

std::vector<StepTag> StepsOf(const std::vector<Change>& changes, const EffectTarget& target) {
    std::vector<StepTag> steps;
    for (const Change& change : changes) {
        const EffectTarget& changed = change.target;
        const bool same = changed.key() == target.key() ||
                          (target.kind != TargetKind::Tool && EqualNoCase(changed.path, target.path) &&
                           (target.kind != TargetKind::Value || changed.kind != TargetKind::Value));
        const bool within = changed.kind == TargetKind::Tree && target.kind != TargetKind::File &&
                            target.kind != TargetKind::Folder && KeyWithin(target.path, changed.path);
        if (same || within) steps.insert(steps.end(), change.steps.begin(), change.steps.end());
    }
    return steps;
}

std::vector<StepTag> StepsOfNamed(const std::vector<Change>& changes, const std::string& named) {
    const auto nameOf = [](const EffectTarget& target) {
        if (target.kind != TargetKind::Value) return target.path;
        return target.path + "\\" + (target.name.empty() ? "(Default)" : target.name);
    };
    std::vector<StepTag> steps;
    for (const Change& change : changes)
        if (EqualNoCase(nameOf(change.target), named) ||
            (change.target.kind == TargetKind::Tree && KeyWithin(named, change.target.path)))
            steps.insert(steps.end(), change.steps.begin(), change.steps.end());
    return steps;
}

int CountChanges(const std::vector<StateLine>& lines) { return static_cast<int>(RecordedChanges(lines).size()); }

std::vector<Page> ChangedPages(const std::vector<StateLine>& lines) {
    std::vector<Page> pages;
    const auto add = [&](Page page) {
        if (std::find(pages.begin(), pages.end(), page) == pages.end()) pages.push_back(page);
    };
    const std::vector<Change> changes = RecordedChanges(lines);
    // The page each change came from first, in the order the run made them; then any that only shared one.
    for (const Change& change : changes)
        if (!change.steps.empty()) add(change.steps.front().page);
    for (const Change& change : changes)
        for (const StepTag& step : change.steps) add(step.page);
    return pages;
}

std::vector<StepTag> FailedSteps(const std::vector<StateLine>& lines) {
    std::vector<StepTag> steps;
    for (const StateLine& line : lines) {
        if (line.kind != StateKind::Failed) continue;
        const StepTag step = TagOf(line.step);
        const auto same = [&step](const StepTag& s) {
            return s.page == step.page && s.boxes == step.boxes && s.entry == step.entry && s.control == step.control &&
                   s.item == step.item;
        };
        if (std::none_of(steps.begin(), steps.end(), same)) steps.push_back(step);
    }
    return steps;
}

}  // namespace quillon
