#include "settings/StrictSelection.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "platform/DevicePath.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

constexpr int kLineCount = 8;

// Throws the problem of one line; caught once at the top.
struct Refusal {
    SelectionProblem problem;
};

[[noreturn]] void Refuse(int line, std::string reason) { throw Refusal{{line, std::move(reason)}}; }

std::string_view Field(const std::vector<std::string>& lines, int line) {
    const std::string& text = lines[line - 1];
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        Refuse(line, "the field is not between double quotes");
    std::string_view field(text);
    field = field.substr(1, field.size() - 2);
    if (field.find('"') != std::string_view::npos) Refuse(line, "the field holds a double quote");
    return field;
}

template <std::size_t N>
std::array<bool, N> Flags(const std::vector<std::string>& lines, int line) {
    std::string_view field = Field(lines, line);
    if (field.size() != N)
        Refuse(line, "expected " + std::to_string(N) + " characters 0 or 1, found " + std::to_string(field.size()));
    std::array<bool, N> flags{};
    for (std::size_t i = 0; i < N; ++i) {
        if (field[i] != '0' && field[i] != '1')
            Refuse(line, "character " + std::to_string(i + 1) + " is not 0 or 1");
        flags[i] = field[i] == '1';
    }
    return flags;
}

int Number(const std::vector<std::string>& lines, int line, int lowest, int highest) {
    std::string_view field = Field(lines, line);
    int value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() || value < lowest ||
        value > highest)
        Refuse(line, "expected a number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
                         ", found \"" + std::string(field) + "\"");
    return value;
}

// Length of the UTF-8 sequence at `at`, or 0 when it is not one (overlong
// forms, surrogates and code points past U+10FFFF are not).
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at);
    if (first < 0x80) return 1;
    std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC2 ? 2 : 0;
    if (length == 0 || first > 0xF4 || at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    const unsigned char second = byte(at + 1);
    if (first == 0xE0 && second < 0xA0) return 0;                   // overlong
    if (first == 0xED && second >= 0xA0) return 0;                  // surrogate
    if (first == 0xF0 && second < 0x90) return 0;                   // overlong
    if (first == 0xF4 && second >= 0x90) return 0;                  // past U+10FFFF
    if (first == 0xC2 && second < 0xA0) return 0;                   // C1 control character
    return length;
}

// A line holds only printable text: no control character of any kind (a
// carriage return, NUL, escape or tab would be written on silently or cut
// the value short), and nothing that is not text.
void CheckText(const std::string& line, int number) {
    for (std::size_t at = 0; at < line.size();) {
        const unsigned char c = static_cast<unsigned char>(line[at]);
        if (c < 0x20 || c == 0x7F) {
            const char* names[] = {"NUL", "a control character", "a tab", "a carriage return", "an escape"};
            const char* name = c == 0 ? names[0] : c == '\t' ? names[2] : c == '\r' ? names[3] : c == 0x1B ? names[4] : names[1];
            Refuse(number, "character " + std::to_string(at + 1) + " is " + name);
        }
        const std::size_t length = Utf8Length(line, at);
        if (length == 0) Refuse(number, "character " + std::to_string(at + 1) + " is not valid text");
        at += length;
    }
}

SavedSelection Parse(std::vector<std::string> lines) {
    for (std::size_t i = 0; i < lines.size() && i <= kLineCount; ++i) CheckText(lines[i], static_cast<int>(i) + 1);
    // A last line ended by CR LF reads back as one empty line more.
    while (lines.size() > kLineCount && lines.back().empty()) lines.pop_back();
    if (lines.size() > kLineCount) Refuse(kLineCount + 1, "the file has more than eight lines");
    if (lines.size() < kLineCount)
        Refuse(static_cast<int>(lines.size()) + 1, "the line is missing (the file has eight lines)");

    SavedSelection selection;
    std::string_view boxes = Field(lines, 1);
    if (boxes.size() != kCheckBoxCount)
        Refuse(1, "expected 77 characters 0, 1 or 2, found " + std::to_string(boxes.size()));
    for (int i = 0; i < kCheckBoxCount; ++i) {
        if (boxes[i] < '0' || boxes[i] > '2') Refuse(1, "character " + std::to_string(i + 1) + " is not 0, 1 or 2");
        selection.boxes[i] = boxes[i] - '0';
    }
    selection.option = Number(lines, 2, 0, kOptionCount - 1);
    selection.prefetch = Number(lines, 3, -1, 1);
    selection.priority = Number(lines, 4, -1, 1);
    selection.downloadPath = std::string(Field(lines, 5));
    selection.hide = Flags<kDriveCount>(lines, 6);
    selection.deny = Flags<kDriveCount>(lines, 7);
    selection.services = Flags<kServiceCount>(lines, 8);
    return selection;
}

}  // namespace

StrictSelection ParseSelectionStrict(const std::vector<std::string>& lines) {
    try {
        return Parse(lines);
    } catch (const Refusal& refusal) {
        return refusal.problem;
    }
}

std::optional<SelectionProblem> SelectionPlaceProblem(Platform& platform, const std::string& path) {
    if (IsDevicePath(path)) return SelectionProblem{0, "it is a device, not a file"};
    try {
        if (platform.directoryExists(path)) return SelectionProblem{0, "it is a folder, not a file"};
    } catch (const std::exception& error) {
        return SelectionProblem{0, std::string("the file cannot be read: ") + error.what()};
    }
    return std::nullopt;
}

std::variant<std::vector<std::string>, SelectionProblem> ReadLinesStrict(Platform& platform, const std::string& path) {
    if (auto problem = SelectionPlaceProblem(platform, path)) return *problem;
    try {
        if (!platform.anyFileExists(path)) return SelectionProblem{0, "the file does not exist"};
        return platform.readTextFile(path);
    } catch (const std::exception& error) {
        return SelectionProblem{0, std::string("the file cannot be read: ") + error.what()};
    }
}

std::optional<std::string> TextProblem(const std::string& line) {
    try {
        CheckText(line, 0);
    } catch (const Refusal& refusal) {
        return refusal.problem.reason;
    }
    return std::nullopt;
}

StrictSelection ReadSelectionStrict(Platform& platform, const std::string& path) {
    auto read = ReadLinesStrict(platform, path);
    if (auto* problem = std::get_if<SelectionProblem>(&read)) return *problem;
    return ParseSelectionStrict(std::get<std::vector<std::string>>(read));
}

void PutSelection(Form& form, const SavedSelection& selection) {
    for (int i = 0; i < kCheckBoxCount; ++i) form.setChk(i, selection.boxes[i]);
    form.selectOpt(selection.option);
    form.setComboIndex(Combo::Prefetch, selection.prefetch);
    form.setComboIndex(Combo::Priority, selection.priority);
    form.setTxtPath(selection.downloadPath);
    for (int i = 0; i < kDriveCount; ++i) {
        form.setListSelected(CheckList::Hide, i, selection.hide[i]);
        form.setListSelected(CheckList::Not, i, selection.deny[i]);
    }
    for (int i = 0; i < kServiceCount; ++i) form.setListSelected(CheckList::Service, i, selection.services[i]);
}

}  // namespace quillon
