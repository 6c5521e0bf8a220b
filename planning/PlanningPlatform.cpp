#include "planning/PlanningPlatform.h"

#include <algorithm>

#include "effects/EffectReader.h"
#include "effects/EffectTarget.h"
#include "effects/Scratch.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {

class EndedProcess : public StartedProcess {
public:
    explicit EndedProcess(int code) : code_(code) {}
    bool waitPumping(std::chrono::milliseconds) override { return true; }
    void terminate() override {}
    std::optional<int> exitCode() const override { return code_; }

private:
    int code_;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

Assessment PlanningPlatform::record(const Effect& effect, const StepTag& step) {
    const Assessment now = Assess(effect, *this);
    effects_.push_back({now, effect, step, !Assess(effect, now_).changes});
    targets_.push_back(TargetOf(effect));
    return now;
}

std::unique_ptr<StartedProcess> PlanningPlatform::startTool(const std::string& commandLine,
                                                           const std::optional<std::vector<Effect>>& effects,
                                                           const StepTag& step) {
    if (!effects) return std::make_unique<EndedProcess>(1);
    bool succeeded = true;
    for (const Effect& effect : *effects) succeeded = record(effect, step).succeeds && succeeded;
    return std::make_unique<EndedProcess>(succeeded || ImportsScript(commandLine) ? 0 : 1);
}

std::optional<RegValue> PlanningPlatform::valueBefore(std::size_t end, const std::string& key,
                                                     const std::string& name) {
    // Most keys come normalised already: only the others are made anew.
    const std::string normalised = IsNormalisedKey(key) ? std::string() : NormalisedKey(key);
    const std::string& k = IsNormalisedKey(key) ? key : normalised;
    for (std::size_t i = end; i-- > 0;) {
        const Effect& e = effects_[i].effect;
        const EffectTarget& t = targets_[i];
        if (e.emptiesDefault && name.empty() && EqualNoCase(t.path, k)) return kEmptyDefault;
        // Lengths first, then the name: they tell most values apart at once, where keys share long beginnings.
        if (t.kind == TargetKind::Value && t.name.size() == name.size() && t.path.size() == k.size() &&
            EqualNoCase(t.name, name) && EqualNoCase(t.path, k)) {
            if (e.kind == EffectKind::SetValue) return e.data;
            if (e.kind == EffectKind::DeleteValue) return std::nullopt;
            // A start mode the tool could not set (no such service) leaves the value as it was.
            if (effects_[i].changes) return DwordValue(e.startMode);
        }
        if (t.kind == TargetKind::Tree && KeyWithin(k, t.path)) {
            if (e.kind == EffectKind::DeleteKey) return std::nullopt;
            if (EqualNoCase(k, t.path) || e.recursive)
                if (auto copied = valueBefore(i, e.target + k.substr(t.path.size()), name)) return copied;
        }
    }
    return machine_.registryValue(k, name);
}

bool PlanningPlatform::keyExistsBefore(std::size_t end, const std::string& key) {
    const std::string normalised = IsNormalisedKey(key) ? std::string() : NormalisedKey(key);
    const std::string& k = IsNormalisedKey(key) ? key : normalised;
    for (std::size_t i = end; i-- > 0;) {
        const Effect& e = effects_[i].effect;
        switch (e.kind) {
        case EffectKind::SetValue:
        case EffectKind::CreateKey:
            if (KeyWithin(e.target, k)) return true;
            break;
        case EffectKind::DeleteKey:
            if (KeyWithin(k, e.target)) return false;
            break;
        case EffectKind::CopyKey:
            if (KeyWithin(e.destination, k) && keyExistsBefore(i, e.target)) return true;
            if (e.recursive && KeyWithin(k, e.destination) && keyExistsBefore(i, e.target + k.substr(e.destination.size())))
                return true;
            break;
        default: break;
        }
    }
    return machine_.registryKeyExists(k);
}

std::optional<RegValue> PlanningPlatform::value(const std::string& key, const std::string& name) {
    if (lastRead_ && lastRead_->effects == effects_.size() && lastRead_->key == key && lastRead_->name == name)
        return lastRead_->value;
    std::optional<RegValue> read = valueBefore(effects_.size(), key, name);
    lastRead_ = LastRead{effects_.size(), key, name, read};
    return read;
}

bool PlanningPlatform::keyExists(const std::string& key) { return keyExistsBefore(effects_.size(), key); }

bool PlanningPlatform::fileExists(const std::string& path) {
    const std::string lower = Lower(path);
    if (scratch_.count(lower)) return true;
    if (auto it = paths_.find(lower); it != paths_.end()) return it->second;
    return machine_.anyFileExists(path);
}

bool PlanningPlatform::folderExists(const std::string& path) {
    if (auto it = paths_.find(Lower(path)); it != paths_.end()) return it->second;
    return machine_.directoryExists(path);
}

bool PlanningPlatform::visibleFileExists(const std::string& path) {
    const std::string lower = Lower(path);
    if (scratch_.count(lower)) return true;
    if (auto it = paths_.find(lower); it != paths_.end()) return it->second;
    return machine_.visibleFileExists(path);
}

std::vector<std::string> PlanningPlatform::listVisibleFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    for (std::string& name : machine_.listVisibleFiles(folder, pattern))
        if (visibleFileExists(folder + "\\" + name)) names.push_back(std::move(name));
    return names;
}

std::vector<std::string> PlanningPlatform::listSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    for (std::string& name : machine_.listSubfolders(folder))
        if (folderExists(folder + "\\" + name)) names.push_back(std::move(name));
    return names;
}

void PlanningPlatform::deleteScratch(const std::string& path) {
    scratch_.erase(Lower(path));
    paths_[Lower(path)] = false;
}

void PlanningPlatform::change(const Effect& effect, const StepTag& step, const std::function<void()>&) {
    const std::string& path = effect.target;
    switch (effect.kind) {
    case EffectKind::DeleteFile:
        // A file the steps wrote for their tools was never on the machine.
        if (scratch_.count(Lower(path))) return deleteScratch(path);
        if (!record(effect, step).succeeds) throw PlatformError("file not found: " + path);
        paths_[Lower(path)] = false;
        return;
    case EffectKind::RemoveFolder: {
        const bool present = record(effect, step).succeeds;
        if (present && (!listVisibleFiles(path, "*").empty() || !listSubfolders(path).empty())) {
            // Only an empty folder goes: this one stays as it is.
            effects_.back().changes = false;
            effects_.back().after = effects_.back().before;
            throw PlatformError("not empty: " + path);
        }
        if (!present) throw PlatformError("cannot remove: " + path);
        paths_[Lower(path)] = false;
        return;
    }
    case EffectKind::CreateFolder:
        record(effect, step);
        if (folderExists(path) || !folderExists(ParentPath(path))) throw PlatformError("cannot create: " + path);
        paths_[Lower(path)] = true;
        return;
    case EffectKind::CopyFile:
        if (!record(effect, step).succeeds || !fileExists(effect.destination)) throw PlatformError("cannot copy to: " + path);
        paths_[Lower(path)] = true;
        return;
    default: record(effect, step); return;
    }
}

void PlanningPlatform::writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    scratch_[Lower(path)] = Joined(lines);
}

std::unique_ptr<HeldFile> PlanningPlatform::writeHeldScript(const std::string& path,
                                                             const std::vector<std::string>& lines) {
    if (fileExists(path)) throw PlatformError("already exists: " + path);
    scratch_[Lower(path)] = Joined(lines);
    return std::make_unique<HeldFile>();
}

void PlanningPlatform::replaceTextFile(const std::string& path, const std::vector<std::string>& lines) {
    scratch_[Lower(path)] = Joined(lines);
}

std::string PlanningPlatform::readFileBytes(const std::string& path) {
    const std::string lower = Lower(path);
    if (auto it = scratch_.find(lower); it != scratch_.end()) return it->second;
    if (auto it = paths_.find(lower); it != paths_.end() && !it->second) throw PlatformError("no file: " + path);
    return machine_.readFileBytes(path);
}

std::vector<std::string> PlanningPlatform::readTextFile(const std::string& path) {
    if (auto it = scratch_.find(Lower(path)); it != scratch_.end()) {
        std::vector<std::string> lines;
        const std::string_view text = it->second;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            std::string line;
            for (std::string_view part = text.substr(start, end - start); !part.empty();) {
                const std::size_t cr = std::min(part.find('\r'), part.size());
                line.append(part.substr(0, cr));
                part.remove_prefix(std::min(cr + 1, part.size()));
            }
            // A last line without its line break is one only when it holds something.
            if (end < text.size() || !line.empty()) lines.push_back(std::move(line));
            start = end + 1;
        }
        return lines;
    }
    return machine_.readTextFile(path);
}

}  // namespace quillon
