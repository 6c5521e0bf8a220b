#include "settings/StrictSelection.h"

#include <algorithm>

#include "platform/DevicePath.h"
#include "platform/Platform.h"

namespace quillon {

StrictSelection ParseSelectionStrict(const std::vector<std::string>& lines) {
    SelectionReading read = ReadSelectionLines(lines, SelectionRules::Strict);
    if (read.problem) return std::move(*read.problem);
    return std::move(read.selection);
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

namespace {

// UTF-16 text read as bytes: every other byte of its ASCII is NUL.
bool LooksLikeUtf16(const std::string& firstLine) {
    const auto nuls = std::count(firstLine.begin(), firstLine.end(), '\0');
    return firstLine.size() >= 2 && nuls * 3 >= static_cast<std::ptrdiff_t>(firstLine.size());
}

}  // namespace

std::variant<std::vector<std::string>, SelectionProblem> ReadLinesStrict(Platform& platform, const std::string& path) {
    if (auto problem = SelectionPlaceProblem(platform, path)) return *problem;
    try {
        if (!platform.anyFileExists(path)) return SelectionProblem{0, "the file does not exist"};
        auto lines = platform.readTextFile(path);
        // Notepad's "Unicode" is a usual way to save it; say so rather than name a NUL.
        if (!lines.empty() && LooksLikeUtf16(lines.front()))
            return SelectionProblem{0, "the file is UTF-16 (Notepad's \"Unicode\"); save it as ANSI or UTF-8"};
        return lines;
    } catch (const std::exception& error) {
        return SelectionProblem{0, std::string("the file cannot be read: ") + error.what()};
    }
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
