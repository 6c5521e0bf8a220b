#pragma once
// A platform layer that sees each change the program makes, as effects, just
// before it goes through: the calls that change the machine, each with the
// step of the run it comes from. The planner, the undo record's journal, the
// net change (planning/) and the console's filters stand on it, so all read
// the same calls the same way. Every other call passes straight through.
#include <functional>
#include <optional>
#include <vector>

#include "effects/Effect.h"
#include "engine/RunStack.h"
#include "platform/ForwardingPlatform.h"

namespace quillon {

class ChangeSeam : public ForwardingPlatform {
public:
    // `stack`: the run's stack this layer stands in, which tells the step being run.
    ChangeSeam(Platform& below, const RunStack& stack);

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) final;
    void deleteFile(const std::string& path) final;
    void removeEmptyDirectory(const std::string& path) final;
    void copyFile(const std::string& from, const std::string& to) final;
    void copyFileFlushed(const std::string& from, const std::string& to) final;
    void createDirectory(const std::string& path) final;

protected:
    // A tool about to start for `step`, with the effects read from its command
    // line (none when they cannot be read: its effect is then unknown). Starts it.
    virtual std::unique_ptr<StartedProcess> startTool(const std::string& commandLine,
                                                      const std::optional<std::vector<Effect>>& effects,
                                                      const StepTag& step) = 0;
    // One file or folder change of `step`; `make` makes it.
    virtual void change(const Effect& effect, const StepTag& step, const std::function<void()>& make) = 0;
    // The program's own scratch script deleted: no change to the machine.
    virtual void deleteScratch(const std::string& path) { machine_.deleteFile(path); }

    // Starts the tool on the layer below; a seam there takes the effects as
    // read here rather than reading the command again.
    std::unique_ptr<StartedProcess> startBelow(const std::string& commandLine,
                                               const std::optional<std::vector<Effect>>& effects, const StepTag& step);

private:
    ChangeSeam* const seamBelow_;
    const RunStack& stack_;
};

}  // namespace quillon
