#include "console/BoxesFile.h"

#include <charconv>

#include "engine/ServiceCatalogue.h"
#include "platform/TextMatch.h"

namespace quillon::console {
namespace {

struct Refusal {
    SelectionProblem problem;
};

[[noreturn]] void Refuse(int line, std::string reason) { throw Refusal{{line, std::move(reason)}}; }

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A ';' that begins the text or follows a blank starts a comment.
std::string WithoutComment(const std::string& text) {
    for (std::size_t at = text.find(';'); at != std::string::npos; at = text.find(';', at + 1))
        if (at == 0 || text[at - 1] == ' ') return text.substr(0, at);
    return text;
}

// The folder after txtPath: in quotes when it holds what would start a
// comment (a path never holds a quote), else up to the comment, without the
// blanks around it.
std::string TypedPath(const std::string& rest, int line) {
    std::string path;
    if (!rest.empty() && rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string::npos) Refuse(line, "txtPath: the quoted folder has no closing quote");
        const std::string after = Trimmed(rest.substr(close + 1));
        if (!after.empty() && after.front() != ';')
            Refuse(line, "txtPath: expected nothing or a comment after the quoted folder, found \"" + after + "\"");
        path = rest.substr(1, close - 1);
    } else {
        path = Trimmed(WithoutComment(rest));
        if (path.find('"') != std::string::npos)
            Refuse(line, "txtPath: a folder's name never holds a double quote; found \"" + path + "\"");
    }
    if (path.empty()) Refuse(line, "txtPath needs a folder");  // an empty path would write nothing
    return path;
}

int Number(const std::string& text, int line, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        Refuse(line, "expected a number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
                         ", found \"" + text + "\"");
    return value;
}

std::array<bool, kDriveCount> Drives(const std::string& text, int line) {
    std::array<bool, kDriveCount> drives{};
    if (EqualNoCase(text, "none")) return drives;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string item = Trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        const char letter = item.size() == 1 ? static_cast<char>(item[0] & ~0x20) : 0;
        if (letter < 'A' || letter > 'Z')
            Refuse(line, "expected drive letters A to Z joined by commas, or none; found \"" + item + "\"");
        drives[letter - 'A'] = true;
        if (comma == std::string::npos) return drives;
        start = comma + 1;
    }
}

template <class T>
void SetOnce(std::optional<T>& field, T value, int line, const std::string& name) {
    if (field) Refuse(line, name + " is given twice");
    field = std::move(value);
}

ListedBoxes Parse(const std::vector<std::string>& lines) {
    ListedBoxes boxes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (auto problem = TextProblem(lines[i])) Refuse(line, *problem);
        const std::string whole = Trimmed(lines[i]);
        const std::size_t space = whole.find(' ');
        const std::string word = whole.substr(0, space);
        // The rest as typed, for a path that holds what would start a comment.
        const std::string typed = space == std::string::npos ? std::string() : whole.substr(whole.find_first_not_of(' ', space));
        const std::string text = Trimmed(WithoutComment(whole));
        if (text.empty()) continue;
        const std::string rest = space == std::string::npos ? std::string() : Trimmed(WithoutComment(typed));
        if (EqualNoCase(word, "on") || EqualNoCase(word, "off")) {
            const bool on = EqualNoCase(word, "on");
            ListedBoxes one;
            if (auto problem = AddListedItem(one, on, rest)) Refuse(line, *problem);
            for (int box : on ? one.onBoxes : one.offBoxes)
                if ((on ? boxes.offBoxes : boxes.onBoxes).contains(box))
                    Refuse(line, "box " + std::to_string(box) + " is given both on and off");
            for (int entry : on ? one.onEntries : one.offEntries)
                if ((on ? boxes.offEntries : boxes.onEntries).contains(entry))
                    Refuse(line, "service " + rest + " is given both on and off");
            boxes.onBoxes.merge(one.onBoxes);
            boxes.offBoxes.merge(one.offBoxes);
            boxes.onEntries.merge(one.onEntries);
            boxes.offEntries.merge(one.offEntries);
        } else if (EqualNoCase(word, "Combo2")) {
            SetOnce(boxes.prefetch, Number(rest, line, 0, 1), line, "Combo2");
        } else if (EqualNoCase(word, "Combo3")) {
            SetOnce(boxes.priority, Number(rest, line, 0, 1), line, "Combo3");
        } else if (EqualNoCase(word, "Opt")) {
            SetOnce(boxes.option, Number(rest, line, 0, kOptionCount - 1), line, "Opt");
        } else if (EqualNoCase(word, "txtPath")) {
            SetOnce(boxes.downloadPath, TypedPath(typed, line), line, "txtPath");
        } else if (EqualNoCase(word, "lstHide")) {
            SetOnce(boxes.hide, Drives(rest, line), line, "lstHide");
        } else if (EqualNoCase(word, "lstNot")) {
            SetOnce(boxes.deny, Drives(rest, line), line, "lstNot");
        } else {
            Refuse(line, "expected on, off, Combo2, Combo3, Opt, txtPath, lstHide or lstNot, found \"" + word + "\"");
        }
    }
    return boxes;
}

std::string DriveLetters(const std::array<bool, kDriveCount>& drives) {
    std::string text;
    for (int i = 0; i < kDriveCount; ++i)
        if (drives[i]) text += (text.empty() ? "" : ",") + std::string(1, static_cast<char>('A' + i));
    return text.empty() ? "none" : text;
}

}  // namespace

StrictBoxes ParseBoxesFile(const std::vector<std::string>& lines) {
    try {
        return Parse(lines);
    } catch (const Refusal& refusal) {
        return refusal.problem;
    }
}

StrictBoxes ReadBoxesFile(Platform& platform, const std::string& path) {
    auto read = ReadLinesStrict(platform, path);
    if (auto* problem = std::get_if<SelectionProblem>(&read)) return *problem;
    return ParseBoxesFile(std::get<std::vector<std::string>>(read));
}

std::vector<std::string> BoxesLines(const ListedBoxes& boxes) {
    std::vector<std::string> lines;
    for (int box = 0; box < kCheckBoxCount; ++box) {
        if (boxes.onBoxes.contains(box)) lines.push_back("on " + std::to_string(box));
        if (boxes.offBoxes.contains(box)) lines.push_back("off " + std::to_string(box));
    }
    for (int entry = 0; entry < kServiceCount; ++entry) {
        const std::string name(kServices[entry].serviceName);
        if (boxes.onEntries.contains(entry)) lines.push_back("on " + name);
        if (boxes.offEntries.contains(entry)) lines.push_back("off " + name);
    }
    if (boxes.prefetch) lines.push_back("Combo2 " + std::to_string(*boxes.prefetch));
    if (boxes.priority) lines.push_back("Combo3 " + std::to_string(*boxes.priority));
    if (boxes.option) lines.push_back("Opt " + std::to_string(*boxes.option));
    if (const auto& path = boxes.downloadPath) {
        // Quoted where it would read otherwise: a comment's start, blanks at either end.
        const bool quote = WithoutComment(*path) != *path || path->empty() || path->front() == ' ' || path->back() == ' ';
        lines.push_back("txtPath " + (quote ? "\"" + *path + "\"" : *path));
    }
    if (boxes.hide) lines.push_back("lstHide " + DriveLetters(*boxes.hide));
    if (boxes.deny) lines.push_back("lstNot " + DriveLetters(*boxes.deny));
    return lines;
}

}  // namespace quillon::console
