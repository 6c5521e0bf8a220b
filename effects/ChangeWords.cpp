#include "effects/ChangeWords.h"

#include "platform/TextMatch.h"

namespace quillon {
namespace {

// The last part of a key or path: the key's or file's own name.
std::string LastPart(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

}  // namespace

std::string DescribeStep(const StepTag& step) {
    std::string out = PageName(step.page);
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

std::string DescribeTarget(const EffectTarget& t) {
    switch (t.kind) {
    case TargetKind::Value: return t.path + "\\" + (t.name.empty() ? "(default)" : t.name);
    case TargetKind::Key: return "key " + t.path;
    case TargetKind::Tree: return "key tree " + t.path;
    case TargetKind::File: return "file " + t.path;
    case TargetKind::Folder: return "folder " + t.path;
    case TargetKind::Tool: return "run " + t.path;
    }
    return t.path;
}

std::string DescribeWhat(const Change& change) {
    return change.effect ? DescribeEffect(*change.effect) : DescribeTarget(change.target);
}

std::string DescribeState(const TargetState& state) {
    using Is = TargetState::Is;
    std::string out;
    switch (state.is) {
    case Is::Unknown: out = "unknown"; break;
    case Is::Absent: out = "absent"; break;
    case Is::Present:
        out = "present";
        if (state.values >= 0) out += ", " + std::to_string(state.values) + (state.values == 1 ? " value" : " values");
        if (state.differing > 0) out += ", " + std::to_string(state.differing) + " changed";
        break;
    case Is::Holds: out = state.value ? DescribeValue(*state.value) : "absent"; break;
    case Is::StartMode: {
        const auto mode = state.value ? DwordOf(*state.value) : std::nullopt;
        out = mode && !StartModeName(*mode).empty() ? StartModeName(*mode)
              : state.value                          ? DescribeValue(*state.value)
                                                     : "absent";
        break;
    }
    case Is::NoService: out = "no such service"; break;
    case Is::NotRead: out = "-"; break;
    case Is::Ran: out = "ran"; break;
    case Is::CopyOf: out = "a copy of " + state.source; break;
    case Is::Unchanged: out = "unchanged"; break;
    case Is::NoSource: out = "unchanged (no source)"; break;
    }
    if (state.destination) out = "destination " + out;
    if (state.defaultValue) out += ", default value " + DescribeValue(*state.defaultValue);
    return out;
}

std::string StateInWords(const TargetState& state) {
    using Is = TargetState::Is;
    if (!state.defaultValue && !state.destination) {
        const bool valueless = (state.is == Is::Holds || state.is == Is::StartMode) && !state.value;
        if (state.is == Is::Absent || valueless) return "not there";
        if (state.is == Is::Present && state.values < 0 && state.differing == 0) return "there";
        if (state.is == Is::Unknown) return "cannot be read";
    }
    return DescribeState(state);
}

namespace {

// A path cut at a folder from its start so that it fits in `most` characters,
// keeping as much of its end (the file's folder) as fits.
std::string PathEnd(const std::string& path, std::size_t most) {
    if (path.size() <= most) return path;
    for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        if (path.size() - at + 3 <= most) return "..." + path.substr(at);
    return LastPart(path);
}

// A Run key is named with its hive: the user's and the machine's differ only there.
bool IsRunKey(const std::string& key) {
    const std::string last = LastPart(key);
    return last.size() == 3 && (last[0] == 'R' || last[0] == 'r') && (last[1] == 'u' || last[1] == 'U') &&
           (last[2] == 'n' || last[2] == 'N');
}

}  // namespace

std::string ToolInBrief(const std::string& commandLine) {
    const std::size_t exe = commandLine.find(".exe");
    const std::size_t slash = commandLine.find_last_of('\\', exe);
    return exe != std::string::npos && slash != std::string::npos ? commandLine.substr(slash + 1) : commandLine;
}

std::string TargetInBrief(const Effect& effect) {
    const std::string name = effect.name.empty() ? "(Default)" : effect.name;
    switch (effect.kind) {
    case EffectKind::SetValue:
    case EffectKind::DeleteValue:
        if (IsRunKey(effect.target)) return effect.target.substr(0, effect.target.find('\\')) + "\\...\\Run\\" + name;
        return LastPart(effect.target) + "\\" + name;
    case EffectKind::CreateKey:
    case EffectKind::DeleteKey: return "key " + LastPart(effect.target);
    // The key the copy changes is its destination, as the change's target is.
    case EffectKind::CopyKey: return "copy into key " + LastPart(effect.destination);
    case EffectKind::ServiceStart: return "service " + effect.target;
    case EffectKind::DeleteFile:
    case EffectKind::CopyFile: return PathEnd(effect.target, 60);
    case EffectKind::RemoveFolder:
    case EffectKind::CreateFolder: return "folder " + LastPart(effect.target);
    case EffectKind::RunTool: return ToolInBrief(effect.target);
    }
    return effect.target;
}

}  // namespace quillon
