#include "settings/StrictSelection.h"

#include <charconv>
#include <optional>
#include <string_view>

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

SavedSelection Parse(std::vector<std::string> lines) {
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

StrictSelection ReadSelectionStrict(Platform& platform, const std::string& path) {
    std::vector<std::string> lines;
    try {
        if (!platform.anyFileExists(path)) return SelectionProblem{0, "the file does not exist"};
        lines = platform.readTextFile(path);
    } catch (const std::exception&) {
        return SelectionProblem{0, "the file cannot be read"};
    }
    return ParseSelectionStrict(lines);
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
