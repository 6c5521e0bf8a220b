#pragma once
// A run of /on and /off or of a /boxes file: only the steps of the listed
// boxes and controls reach the machine. Every other step still runs (the
// steps of a page read each other's state), but what it would change is
// dropped here: its tools end at once as if they had succeeded, its files
// stay, and its registry script is not even written: a script that cannot be
// written (its place taken by a folder) fails only the boxes asked for.
#include "console/Arguments.h"
#include "console/DroppedProcess.h"
#include "engine/RunStack.h"
#include "platform/ForwardingPlatform.h"

namespace quillon::console {

class ListedBoxesOnly final : public ForwardingPlatform {
public:
    ListedBoxesOnly(Platform& machine, const RunStack& stack, const ListedBoxes& listed)
        : ForwardingPlatform(machine), stack_(stack), listed_(listed) {}

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        if (passes()) return machine_.startHidden(commandLine);
        return std::make_unique<DroppedProcess>();
    }
    void deleteFile(const std::string& path) override {
        if (passes()) machine_.deleteFile(path);
    }
    void removeEmptyDirectory(const std::string& path) override {
        if (passes()) machine_.removeEmptyDirectory(path);
    }
    void copyFile(const std::string& from, const std::string& to) override {
        if (passes()) machine_.copyFile(from, to);
    }
    void createDirectory(const std::string& path) override {
        if (passes()) machine_.createDirectory(path);
    }
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        if (passes()) machine_.writeTextFile(path, lines);
    }
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        if (passes()) machine_.replaceTextFile(path, lines);
    }
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override {
        if (passes()) return machine_.writeHeldScript(path, lines);
        return std::make_unique<HeldFile>();
    }

private:
    // Whether the step being run is one of the listed boxes or controls.
    bool passes() const {
        const StepTag& step = stack_.step();
        for (int box : step.boxes)
            if (box >= 0 && listed_.names(box)) return true;
        if (step.page == Page::Services && step.entry >= 0) return listed_.namesEntry(step.entry);
        return step.boxes[0] < 0 && listed_.namesControl(step.control);
    }

    const RunStack& stack_;
    const ListedBoxes& listed_;
};

}  // namespace quillon::console
