#include "record/RecordLines.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/RegistryPath.h"

namespace quillon {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<std::string> SplitTabs(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = text.find('\t', from)) != std::string::npos; from = tab + 1)
        fields.push_back(text.substr(from, tab - from));
    fields.push_back(text.substr(from));
    return fields;
}

const char* KindWord(StateKind kind) {
    switch (kind) {
    case StateKind::Value: return "value";
    case StateKind::Key: return "key";
    case StateKind::Tree: return "tree";
    case StateKind::File: return "file";
    case StateKind::Folder: return "folder";
    case StateKind::Change: return "change";
    case StateKind::Tool: return "tool";
    case StateKind::Ended: return "ended";
    case StateKind::Failed: return "failed";
    }
    return "";
}

constexpr const char* kTargetWords[] = {"value", "key", "tree", "file", "folder", "tool"};

std::optional<int> SmallNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int n = 0;
    const bool negative = text[0] == '-';
    for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        n = n * 10 + (text[i] - '0');
    }
    if (negative) n = -n;
    if (n < low || n > high) return std::nullopt;
    return n;
}

std::optional<StateLine> ParseChangeLine(const std::vector<std::string>& f) {
    if (f.size() != 10) return std::nullopt;
    StateLine line;
    line.kind = f[0] == "failed" ? StateKind::Failed : StateKind::Change;
    const auto word = std::find(std::begin(kTargetWords), std::end(kTargetWords), f[1]);
    const auto target = UnescapedField(f[2]);
    const auto name = UnescapedField(f[3]);
    const auto page = SmallNumber(f[4], 0, 4);
    const auto box0 = SmallNumber(f[5], -1, 200), box1 = SmallNumber(f[6], -1, 200);
    const auto entry = SmallNumber(f[7], -1, 999);
    const auto control = UnescapedField(f[8]);
    const auto item = UnescapedField(f[9]);
    if (word == std::end(kTargetWords) || !target || target->empty() || !name || !page || !box0 || !box1 || !entry ||
        !control || !item)
        return std::nullopt;
    line.changed = static_cast<TargetKind>(word - std::begin(kTargetWords));
    line.target = *target;
    line.name = *name;
    line.step = {static_cast<Page>(*page), {*box0, *box1}, *entry, *control, *item};
    return line;
}

// A key's, file's or folder's presence, as a line writes it.
const char* PresenceWord(bool present) { return present ? "present" : "absent"; }

std::optional<bool> ParsePresence(const std::string& word) {
    for (bool present : {true, false})
        if (word == PresenceWord(present)) return present;
    return std::nullopt;
}

}  // namespace

std::string EscapedField(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += Printable(std::string_view(&c, 1));
    }
    return out;
}

std::optional<std::string> UnescapedField(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) return std::nullopt;
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) return std::nullopt;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 'x': {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return out;
}

std::string ValueField(const std::optional<RegValue>& value) {
    if (!value) return "-";
    std::string out = std::to_string(value->type) + ":";
    for (std::uint8_t b : value->bytes) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02x", b);
        out += buffer;
    }
    return out;
}

std::optional<std::optional<RegValue>> ParseValueField(const std::string& text) {
    if (text == "-") return std::optional<RegValue>{};
    const auto colon = text.find(':');
    if (colon == 0 || colon == std::string::npos || colon > 10) return std::nullopt;
    RegValue value;
    unsigned long long type = 0;
    for (std::size_t i = 0; i < colon; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        type = type * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (type > 0xFFFFFFFFull || (text.size() - colon - 1) % 2 != 0) return std::nullopt;
    value.type = static_cast<std::uint32_t>(type);
    for (std::size_t i = colon + 1; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        value.bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return std::optional<RegValue>(std::move(value));
}

std::string ContentDigest(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
    return buffer;
}

StateLine ChangeLine(const EffectTarget& target, const StepTag& step, bool failed) {
    StateLine line;
    line.kind = failed ? StateKind::Failed : StateKind::Change;
    line.changed = target.kind;
    line.target = target.path;
    line.name = target.name;
    line.step = {step.page, step.boxes, step.entry, std::string(step.control), step.item};
    return line;
}

EffectTarget RecordedTarget(TargetKind kind, const std::string& path, const std::string& name) {
    EffectTarget target{kind, path, name};
    if (kind == TargetKind::Value || kind == TargetKind::Key || kind == TargetKind::Tree) target.view = ViewOfKey(path);
    return target;
}

EffectTarget ChangedTarget(const StateLine& change) { return RecordedTarget(change.changed, change.target, change.name); }

std::string StateLineText(const StateLine& line) {
    if (line.kind == StateKind::Change || line.kind == StateKind::Failed) {
        const RecordedStep& s = line.step;
        std::string text = KindWord(line.kind) + std::string("\t") + std::string(kTargetWords[static_cast<int>(line.changed)]);
        for (const std::string& f : {EscapedField(line.target), EscapedField(line.name),
                                     std::to_string(static_cast<int>(s.page)), std::to_string(s.boxes[0]),
                                     std::to_string(s.boxes[1]), std::to_string(s.entry), EscapedField(s.control),
                                     EscapedField(s.item)})
            text += "\t" + f;
        return text + "\r\n";
    }
    std::vector<std::string> fields{line.after ? "after" : "before", KindWord(line.kind), EscapedField(line.target)};
    const char* presence = PresenceWord(line.present);
    switch (line.kind) {
    case StateKind::Value:
        fields.push_back(EscapedField(line.name));
        fields.push_back(ValueField(line.value));
        break;
    case StateKind::Key:
    case StateKind::Folder: fields.push_back(presence); break;
    case StateKind::Tree:
    case StateKind::Change:
    case StateKind::Failed: break;
    case StateKind::Tool:
    case StateKind::Ended: break;
    case StateKind::File:
        if (!line.present) {
            fields.push_back(PresenceWord(false));
        } else if (line.after) {
            fields.push_back("copy");
            fields.push_back(line.digest);
        } else if (line.copy.empty()) {
            fields.push_back("nocopy");
        } else {
            fields.push_back("copy");
            fields.push_back(EscapedField(line.copy));
        }
        break;
    }
    std::string text;
    for (const std::string& f : fields) text += (text.empty() ? "" : "\t") + f;
    return text + "\r\n";
}

std::optional<StateLine> ParseStateLine(const std::string& text) {
    const std::vector<std::string> f = SplitTabs(text);
    if (!f.empty() && (f[0] == "change" || f[0] == "failed")) return ParseChangeLine(f);
    if (f.size() < 3 || (f[0] != "before" && f[0] != "after")) return std::nullopt;
    StateLine line;
    line.after = f[0] == "after";
    auto target = UnescapedField(f[2]);
    if (!target || target->empty()) return std::nullopt;
    line.target = *target;
    const std::string& kind = f[1];
    if (kind == "value" && f.size() == 5) {
        auto name = UnescapedField(f[3]);
        auto value = ParseValueField(f[4]);
        if (!name || !value) return std::nullopt;
        line.kind = StateKind::Value;
        line.name = *name;
        line.value = *value;
    } else if ((kind == "key" || kind == "folder") && f.size() == 4 && ParsePresence(f[3])) {
        line.kind = kind == "key" ? StateKind::Key : StateKind::Folder;
        line.present = *ParsePresence(f[3]);
    } else if (kind == "tree" && f.size() == 3 && !line.after) {
        line.kind = StateKind::Tree;
    } else if ((kind == "tool" || kind == "ended") && f.size() == 3 && line.after && line.target.size() <= 9 &&
               line.target.find_first_not_of("0123456789") == std::string::npos) {
        line.kind = kind == "tool" ? StateKind::Tool : StateKind::Ended;
    } else if (kind == "file" && f.size() == 4 && ParsePresence(f[3]) == false) {
        line.kind = StateKind::File;
    } else if (kind == "file" && f.size() == 4 && f[3] == "nocopy" && !line.after) {
        line.kind = StateKind::File;
        line.present = true;
    } else if (kind == "file" && f.size() == 5 && f[3] == "copy") {
        line.kind = StateKind::File;
        line.present = true;
        if (line.after) {
            if (f[4].size() != 16 || f[4].find_first_not_of("0123456789abcdef") != std::string::npos) return std::nullopt;
            line.digest = f[4];
        } else {
            auto copy = UnescapedField(f[4]);
            if (!copy || copy->empty()) return std::nullopt;
            line.copy = *copy;
        }
    } else {
        return std::nullopt;
    }
    return line;
}

}  // namespace quillon
