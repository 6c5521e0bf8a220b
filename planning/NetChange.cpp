#include "planning/NetChange.h"

#include "effects/EffectReader.h"
#include "effects/MachineView.h"
#include "effects/Scratch.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {

std::string Presence(bool present) { return present ? "present" : "absent"; }

bool SameStep(const StepTag& a, const StepTag& b) {
    return a.page == b.page && a.boxes == b.boxes && a.control == b.control && a.entry == b.entry;
}

// What makes two effects act on one target.
std::string Identity(const Effect& e) {
    switch (e.kind) {
    case EffectKind::SetValue:
    case EffectKind::DeleteValue: return "value|" + Lower(e.target) + "|" + Lower(e.name);
    case EffectKind::ServiceStart: return "value|" + Lower(ServiceKey(e.target)) + "|start";
    case EffectKind::CreateKey: return "key|" + Lower(e.target);
    case EffectKind::DeleteKey: return "tree|" + Lower(e.target);
    case EffectKind::CopyKey: return "tree|" + Lower(e.destination);
    case EffectKind::DeleteFile:
    case EffectKind::CopyFile: return "file|" + Lower(e.target);
    case EffectKind::RemoveFolder:
    case EffectKind::CreateFolder: return "folder|" + Lower(e.target);
    case EffectKind::RunTool: return "tool|" + e.target;
    }
    return {};
}

bool IsServiceStart(const std::string& key, const std::string& name) {
    static const std::string services = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services";
    return EqualNoCase(name, "Start") && KeyWithin(key, services) && !EqualNoCase(key, services);
}

}  // namespace

class NetChangeWatch::WatchedProcess : public StartedProcess {
public:
    WatchedProcess(NetChangeWatch& watch, std::unique_ptr<StartedProcess> process, StepTag step, bool changes,
                   std::vector<std::size_t> tools)
        : watch_(watch), process_(std::move(process)), step_(std::move(step)), changes_(changes), tools_(std::move(tools)) {}
    ~WatchedProcess() override { noteExit(); }
    bool waitPumping(std::chrono::milliseconds bound) override {
        const bool ended = process_->waitPumping(bound);
        noteExit();
        const int code = ended ? process_->exitCode().value_or(0) : 0;
        // A tool that fails where nothing needed changing left the machine as asked.
        if (code != 0 && changes_ && !reported_) {
            reported_ = true;
            watch_.toolFailures_.push_back({step_, "the tool reported failure (exit code " + std::to_string(code) + ")"});
        }
        return ended;
    }
    void terminate() override { process_->terminate(); }
    std::optional<int> exitCode() const override { return process_->exitCode(); }

private:
    // A tool not waited for may have ended by the time its handle goes.
    void noteExit() {
        if (const auto code = process_->exitCode())
            for (std::size_t tool : tools_) watch_.targets_[tool].exitCode = code;
    }

    NetChangeWatch& watch_;
    std::unique_ptr<StartedProcess> process_;
    StepTag step_;
    bool changes_;
    std::vector<std::size_t> tools_;  // the targets of the tools it runs
    bool reported_ = false;
};

std::string NetChangeWatch::state(const Item& item) {
    switch (item.kind) {
    case Kind::Value: {
        const auto value = machine_.registryValue(item.path, item.name);
        if (!value) return IsServiceStart(item.path, item.name) && !machine_.registryKeyExists(item.path)
                               ? "no such service"
                               : "absent";
        if (IsServiceStart(item.path, item.name))
            if (auto mode = DwordOf(*value); mode && !StartModeName(*mode).empty()) return StartModeName(*mode);
        return DescribeValue(*value);
    }
    case Kind::Key: return Presence(machine_.registryKeyExists(item.path));
    case Kind::File: return Presence(machine_.anyFileExists(item.path));
    case Kind::Folder: return Presence(machine_.directoryExists(item.path));
    }
    return {};
}

void NetChangeWatch::watchItem(std::size_t target, Kind kind, const std::string& path, const std::string& name) {
    ItemId id{kind, Lower(path), Lower(name)};
    if (items_.contains(id)) return;  // its first target shows it
    Item item{kind, path, name};
    before_[id] = state(item);
    items_.emplace(id, std::move(item));
    owner_[id] = target;
    targets_[target].items.push_back(std::move(id));
}

void NetChangeWatch::watchTree(std::size_t target, const std::string& key, const std::string& from) {
    watchItem(target, Kind::Key, key);
    for (const NamedRegValue& value : machine_.registryValues(from)) watchItem(target, Kind::Value, key, value.name);
    for (const std::string& subkey : machine_.registrySubkeys(from))
        watchTree(target, key + "\\" + subkey, from + "\\" + subkey);
}

std::optional<NetChangeWatch::ItemId> NetChangeWatch::SingleItem(const Effect& e) {
    switch (e.kind) {
    case EffectKind::SetValue:
    case EffectKind::DeleteValue: return ItemId{Kind::Value, Lower(e.target), Lower(e.name)};
    case EffectKind::ServiceStart: return ItemId{Kind::Value, Lower(ServiceKey(e.target)), "start"};
    case EffectKind::CreateKey: return ItemId{Kind::Key, Lower(e.target), ""};
    case EffectKind::DeleteFile:
    case EffectKind::CopyFile: return ItemId{Kind::File, Lower(e.target), ""};
    case EffectKind::RemoveFolder:
    case EffectKind::CreateFolder: return ItemId{Kind::Folder, Lower(e.target), ""};
    default: return std::nullopt;
    }
}

std::optional<std::size_t> NetChangeWatch::targetOf(const Effect& e) const {
    // A value of a tree already watched belongs to that tree's change.
    const auto single = SingleItem(e);
    if (single)
        if (const auto owned = owner_.find(*single); owned != owner_.end()) return owned->second;
    if (const auto found = byName_.find(Identity(e)); found != byName_.end()) return found->second;
    return std::nullopt;
}

bool NetChangeWatch::differs(const Effect& e) const {
    const auto index = targetOf(e);
    return !index || targets_[*index].changed || targets_[*index].tool;
}

std::size_t NetChangeWatch::watch(const Effect& e) {
    const auto single = SingleItem(e);
    std::size_t index = 0;
    if (const auto known = targetOf(e)) {
        index = *known;
    } else {
        index = targets_.size();
        byName_.emplace(Identity(e), index);
        targets_.emplace_back();
    }
    {
        Target& target = targets_[index];
        const StepTag step = step_ ? *step_ : StepTag{};
        bool known = false;
        for (const StepTag& s : target.steps) known = known || SameStep(s, step);
        if (!known) target.steps.push_back(step);
        if (target.tree.empty() || !single) target.effect = e;
    }
    if (e.kind == EffectKind::DeleteKey || e.kind == EffectKind::CopyKey) {
        const std::string& tree = e.kind == EffectKind::DeleteKey ? e.target : e.destination;
        for (const auto& [id, owner] : owner_)
            if (owner != index && std::get<0>(id) != Kind::File && std::get<0>(id) != Kind::Folder &&
                KeyWithin(std::get<1>(id), tree))
                targets_[owner].underTree = true;
    }
    switch (e.kind) {
    case EffectKind::SetValue:
    case EffectKind::DeleteValue: watchItem(index, Kind::Value, e.target, e.name); break;
    case EffectKind::ServiceStart:
        if (!machine_.registryKeyExists(ServiceKey(e.target))) targets_[index].present = false;
        watchItem(index, Kind::Value, ServiceKey(e.target), "Start");
        break;
    case EffectKind::CreateKey: watchItem(index, Kind::Key, e.target); break;
    case EffectKind::DeleteKey:
        targets_[index].tree = e.target;
        watchTree(index, e.target, e.target);
        break;
    case EffectKind::CopyKey:
        targets_[index].tree = e.destination;
        watchTree(index, e.destination, e.destination);
        if (e.recursive) {
            watchTree(index, e.destination, e.target);
        } else {
            watchItem(index, Kind::Key, e.destination);
            for (const NamedRegValue& value : machine_.registryValues(e.target))
                watchItem(index, Kind::Value, e.destination, value.name);
        }
        break;
    case EffectKind::DeleteFile:
    case EffectKind::CopyFile: watchItem(index, Kind::File, e.target); break;
    case EffectKind::RemoveFolder:
    case EffectKind::CreateFolder: watchItem(index, Kind::Folder, e.target); break;
    case EffectKind::RunTool: targets_[index].tool = true; break;
    }
    return index;
}

std::string NetChangeWatch::summary(const Target& target, const std::map<ItemId, std::string>& states) {
    const ItemId root{Kind::Key, Lower(target.tree), ""};
    const auto found = states.find(root);
    if (found == states.end() || found->second != "present") return "absent";
    int values = 0;
    for (const ItemId& id : target.items)
        if (std::get<0>(id) == Kind::Value && states.at(id) != "absent") ++values;
    return "present, " + std::to_string(values) + (values == 1 ? " value" : " values");
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

std::vector<NetChange> NetChangeWatch::changes() {
    std::vector<NetChange> out;
    for (std::size_t index = 0; index < targets_.size(); ++index) {
        // What a tree holds now that it did not hold before was absent then:
        // the whole tree was read when it was first touched.
        if (!targets_[index].tree.empty()) {
            const std::size_t known = targets_[index].items.size();
            watchTree(index, targets_[index].tree, targets_[index].tree);
            for (std::size_t i = known; i < targets_[index].items.size(); ++i) before_[targets_[index].items[i]] = "absent";
        }
        const Target& target = targets_[index];
        std::map<ItemId, std::string> now, then;
        bool changed = target.tool;
        for (const ItemId& id : target.items) {
            now[id] = state(items_.at(id));
            then[id] = before_.at(id);
            changed = changed || now[id] != then[id];
        }
        // A tool changed something only when it started.
        if (target.tool) changed = target.ran;
        targets_[index].changed = changed;
        NetChange change{target.steps, target.effect, "unknown", "unknown", changed, !target.tool, target.present, false, false, std::nullopt};
        change.ran = target.ran;
        change.exitCode = target.exitCode;
        if (!target.tree.empty()) {
            change.before = summary(target, then);
            change.after = summary(target, now);
            int differ = 0;
            for (const ItemId& id : target.items) differ += now[id] != then[id] ? 1 : 0;
            if (change.before == change.after && differ > 0)
                change.after += ", " + std::to_string(differ) + " changed";
        } else if (!target.items.empty()) {
            change.before = then.begin()->second;
            change.after = now.begin()->second;
            change.missed = target.present && !target.underTree && !Holds(target.effect);
        }
        out.push_back(std::move(change));
    }
    return out;
}

std::unique_ptr<StartedProcess> NetChangeWatch::startHidden(const std::string& commandLine) {
    const auto effects = ReadCommandEffects(
        commandLine, [&](const std::string& path) { return ReadScriptText(machine_, path); });
    bool changes = false;
    std::vector<std::size_t> tools;
    if (effects) {
        PlatformView view(machine_);
        for (const Effect& effect : *effects) {
            changes = changes || Assess(effect, view).changes;
            const std::size_t index = watch(effect);
            if (effect.kind == EffectKind::RunTool) tools.push_back(index);
        }
    }
    // A tool that cannot start has run nothing: its step fails instead.
    auto process = machine_.startHidden(commandLine);
    for (std::size_t tool : tools) targets_[tool].ran = true;
    return std::make_unique<WatchedProcess>(*this, std::move(process), step_ ? *step_ : StepTag{}, changes,
                                            std::move(tools));
}

void NetChangeWatch::deleteFile(const std::string& path) {
    if (!IsScratchFile(path)) watch({EffectKind::DeleteFile, path, {}, {}, {}, 0, false});
    machine_.deleteFile(path);
}

void NetChangeWatch::removeEmptyDirectory(const std::string& path) {
    watch({EffectKind::RemoveFolder, path, {}, {}, {}, 0, false});
    machine_.removeEmptyDirectory(path);
}

void NetChangeWatch::copyFile(const std::string& from, const std::string& to) {
    watch({EffectKind::CopyFile, to, {}, {}, from, 0, false});
    machine_.copyFile(from, to);
}

void NetChangeWatch::createDirectory(const std::string& path) {
    watch({EffectKind::CreateFolder, path, {}, {}, {}, 0, false});
    machine_.createDirectory(path);
}

}  // namespace quillon
