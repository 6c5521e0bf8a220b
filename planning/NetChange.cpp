#include "planning/NetChange.h"

#include <algorithm>

#include "effects/EffectReader.h"
#include "engine/Commands.h"
#include "effects/EffectTarget.h"
#include "effects/MachineView.h"
#include "effects/Scratch.h"
#include "platform/RegistryPath.h"

namespace quillon {
namespace {

bool SameStep(const StepTag& a, const StepTag& b) {
    return a.page == b.page && a.boxes == b.boxes && a.control == b.control && a.entry == b.entry;
}

bool IsServiceStart(const std::string& key, const std::string& name) { return !ServiceOfStartValue(key, name).empty(); }

}  // namespace

class NetChangeWatch::WatchedProcess : public StartedProcess {
public:
    WatchedProcess(NetChangeWatch& watch, std::unique_ptr<StartedProcess> process, StepTag step, bool changes,
                   std::vector<std::size_t> tools, std::string commandLine)
        : watch_(watch), process_(std::move(process)), step_(std::move(step)), changes_(changes),
          tools_(std::move(tools)), commandLine_(std::move(commandLine)) {}
    // A one-shot tool nobody waits for is waited for before the run's changes are read.
    ~WatchedProcess() override {
        if (!ended_ && !tools_.empty() && !watch_.closing_) watch_.unwaited_.push_back(std::make_unique<WatchedProcess>(std::move(*this)));
    }
    WatchedProcess(WatchedProcess&&) = default;

    bool waitPumping(std::chrono::milliseconds bound) override {
        const bool ended = process_->waitPumping(bound);
        if (!ended || ended_) return ended;
        ended_ = true;
        const int code = process_->exitCode().value_or(0);
        // A tool that fails where nothing needed changing left the machine as asked.
        if (code != 0 && changes_)
            watch_.toolFailures_.push_back({step_, "the tool reported failure (exit code " + std::to_string(code) +
                                                      "): " + commandLine_});
        // A tool whose effect cannot be read back counts once it has ended well.
        if (code == 0)
            for (std::size_t target : tools_) watch_.targets_[target].tool = true;
        return ended;
    }
    void terminate() override {
        ended_ = true;  // ended from outside: it did not do its work
        process_->terminate();
    }
    std::optional<int> exitCode() const override { return process_->exitCode(); }

private:
    NetChangeWatch& watch_;
    std::unique_ptr<StartedProcess> process_;
    StepTag step_;
    bool changes_;
    std::vector<std::size_t> tools_;
    std::string commandLine_;  // what failed, so a person can run it again and see why
    bool ended_ = false;
};

NetChangeWatch::~NetChangeWatch() { closing_ = true; }

TargetState NetChangeWatch::state(const Item& item) {
    using Is = TargetState::Is;
    switch (item.kind) {
    case TargetKind::Value: {
        auto value = machine_.registryValue(item.path, item.name);
        const bool startMode = IsServiceStart(item.path, item.name);
        if (!value) return {startMode && !machine_.registryKeyExists(item.path) ? Is::NoService : Is::Absent};
        return {startMode ? Is::StartMode : Is::Holds, std::move(value)};
    }
    case TargetKind::Key: return Presence(machine_.registryKeyExists(item.path));
    case TargetKind::File: return Presence(machine_.anyFileExists(item.path));
    case TargetKind::Folder: return Presence(machine_.directoryExists(item.path));
    default: return {};  // a tree is many items, a tool none
    }
}

void NetChangeWatch::watchItem(std::size_t target, Item item) {
    TargetKey id = item.key();
    auto at = items_.lower_bound(id);
    if (at != items_.end() && !items_.key_comp()(id, at->first)) return;  // its first target shows it
    TargetState before = state(item);
    items_.emplace_hint(at, id, Watched{std::move(item), target, std::move(before)});
    targets_[target].items.push_back(std::move(id));
}

void NetChangeWatch::watchTree(std::size_t target, const std::string& key, const std::string& from, RegView view) {
    watchItem(target, {TargetKind::Key, key, {}, view});
    for (const NamedRegValue& value : machine_.registryValues(from))
        watchItem(target, {TargetKind::Value, key, value.name, view});
    for (const std::string& subkey : machine_.registrySubkeys(from))
        watchTree(target, key + "\\" + subkey, from + "\\" + subkey, view);
}

bool NetChangeWatch::OneItem(TargetKind kind) {
    return kind == TargetKind::Value || kind == TargetKind::Key || kind == TargetKind::File || kind == TargetKind::Folder;
}

std::optional<std::size_t> NetChangeWatch::targetOf(const Effect& e) const {
    const EffectTarget t = TargetOf(e);
    return targetOf(t, t.key());
}

std::optional<std::size_t> NetChangeWatch::targetOf(const EffectTarget& t, const TargetKey& key) const {
    // A value of a tree already watched belongs to that tree's change.
    if (OneItem(t.kind))
        if (const auto owned = items_.find(key); owned != items_.end()) return owned->second.owner;
    if (const auto found = byKey_.find(key); found != byKey_.end()) return found->second;
    return std::nullopt;
}

bool NetChangeWatch::differs(const Effect& e) const {
    const auto index = targetOf(e);
    return !index || targets_[*index].changed || e.kind == EffectKind::RunTool;
}

std::size_t NetChangeWatch::watch(const Effect& e, const StepTag& step) {
    const EffectTarget t = TargetOf(e);
    const bool oneItem = OneItem(t.kind);
    TargetKey key = t.key();
    std::size_t index = 0;
    if (const auto known = targetOf(t, key)) {
        index = *known;
    } else {
        index = targets_.size();
        byKey_.emplace(std::move(key), index);
        targets_.emplace_back();
    }
    {
        Target& target = targets_[index];
        bool known = false;
        for (const StepTag& s : target.steps) known = known || SameStep(s, step);
        if (!known) target.steps.push_back(step);
        if (target.tree.empty() || !oneItem) target.effect = e;
    }
    if (t.kind == TargetKind::Tree)
        for (const auto& [id, watched] : items_)
            if (watched.owner != index && id.kind != TargetKind::File && id.kind != TargetKind::Folder &&
                KeyWithin(id.path, t.path))
                targets_[watched.owner].underTree = true;
    if (e.kind == EffectKind::ServiceStart && !machine_.registryKeyExists(t.path)) targets_[index].present = false;
    if (oneItem) {
        watchItem(index, t);
        if (e.emptiesDefault && !targets_[index].emptiedDefault) {
            Item item{TargetKind::Value, t.path, {}, t.view};
            targets_[index].defaultBefore = state(item);
            targets_[index].emptiedDefault = std::move(item);
        }
        return index;
    }
    if (t.kind == TargetKind::Tool) return index;  // shown once it has ended well
    targets_[index].tree = t.path;
    watchTree(index, t.path, t.path, t.view);
    if (e.kind != EffectKind::CopyKey) return index;
    // What the copy brings is watched too.
    if (e.recursive) {
        watchTree(index, t.path, e.target, t.view);
    } else {
        watchItem(index, {TargetKind::Key, t.path, {}, t.view});
        for (const NamedRegValue& value : machine_.registryValues(e.target))
            watchItem(index, {TargetKind::Value, t.path, value.name, t.view});
    }
    return index;
}

TargetState NetChangeWatch::summary(const Target& target, const std::vector<TargetState>& states) {
    // The states are the target's items', in the same order.
    const TargetKey root = KeyOf(TargetKind::Key, target.tree);
    const auto found = std::find(target.items.begin(), target.items.end(), root);
    if (found == target.items.end() || states[found - target.items.begin()].is != TargetState::Is::Present)
        return Presence(false);
    TargetState tree = Presence(true);
    tree.values = 0;
    for (std::size_t i = 0; i < target.items.size(); ++i)
        if (target.items[i].kind == TargetKind::Value && states[i].is != TargetState::Is::Absent) ++tree.values;
    return tree;
}

bool NetChangeWatch::Holds(const Effect& e) {
    switch (e.kind) {
    case EffectKind::SetValue: return machine_.registryValue(e.target, e.name) == e.data;
    case EffectKind::DeleteValue: return !machine_.registryValue(e.target, e.name);
    case EffectKind::ServiceStart: {
        const auto value = machine_.registryValue(ServiceKey(e.target), "Start");
        return value && DwordOf(*value) == e.startMode;
    }
    default: return true;  // keys, files and folders: their tools say when they fail
    }
}

std::vector<Change> NetChangeWatch::changes() {
    for (auto waiting = std::move(unwaited_); auto& process : waiting)
        if (!process->waitPumping(kCommandBound)) process->terminate();
    std::vector<Change> out;
    for (std::size_t index = 0; index < targets_.size(); ++index) {
        // What a tree holds now that it did not hold before was absent then:
        // the whole tree was read when it was first touched.
        if (!targets_[index].tree.empty()) {
            const std::size_t known = targets_[index].items.size();
            watchTree(index, targets_[index].tree, targets_[index].tree, targets_[index].effect.view);
            for (std::size_t i = known; i < targets_[index].items.size(); ++i)
                items_.at(targets_[index].items[i]).before = Presence(false);
        }
        const Target& target = targets_[index];
        std::vector<TargetState> now, then;  // by item, in the target's order
        bool changed = target.tool;
        for (const TargetKey& id : target.items) {
            const Watched& watched = items_.at(id);
            now.push_back(state(watched.item));
            then.push_back(watched.before);
            changed = changed || now.back() != then.back();
        }
        const TargetState defaultNow = target.emptiedDefault ? state(*target.emptiedDefault) : TargetState{};
        // Where steps run only on a target that differs, `reg add` never
        // starts for a key that is there: its default value goes with the key.
        if (everyStepRuns_ && target.emptiedDefault && defaultNow != target.defaultBefore) changed = true;
        targets_[index].changed = changed;
        Change change{target.steps, TargetOf(target.effect), target.effect, {}, {}, changed, !target.tool, target.present};
        if (!target.tree.empty()) {
            change.before = summary(target, then);
            change.after = summary(target, now);
            int differ = 0;
            for (std::size_t i = 0; i < now.size(); ++i) differ += now[i] != then[i] ? 1 : 0;
            if (change.before == change.after && differ > 0) change.after.differing = differ;
        } else if (!target.items.empty()) {
            change.before = then.front();  // one item: the target's own
            change.after = now.front();
            change.missed = target.present && !target.underTree && !Holds(target.effect);
        }
        if (target.emptiedDefault && changed) {
            change.before.defaultValue = target.defaultBefore.value;
            change.after.defaultValue = defaultNow.value;
        }
        out.push_back(std::move(change));
    }
    return out;
}

std::unique_ptr<StartedProcess> NetChangeWatch::startTool(const std::string& commandLine,
                                                          const std::optional<std::vector<Effect>>& effects,
                                                          const StepTag& step) {
    bool changes = false;
    std::vector<std::size_t> tools;
    if (effects) {
        PlatformView view(machine_);
        for (const Effect& effect : *effects) {
            changes = changes || Assess(effect, view).changes;
            const std::size_t target = watch(effect, step);
            if (effect.kind == EffectKind::RunTool) tools.push_back(target);
        }
    }
    auto started = startBelow(commandLine, effects, step);
    return std::make_unique<WatchedProcess>(*this, std::move(started), step, changes,
                                            std::move(tools), commandLine);
}

void NetChangeWatch::change(const Effect& effect, const StepTag& step, const std::function<void()>& make) {
    watch(effect, step);
    make();
}

}  // namespace quillon
