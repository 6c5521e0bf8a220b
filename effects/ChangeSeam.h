#pragma once
// A platform layer that sees each change the program makes, as effects, just
// before it goes through: the calls that change the machine. The undo
// record's journal and the console's net change stand on it, so both read the
// same calls the same way. Every other call passes straight through.
#include <functional>
#include <optional>
#include <vector>

#include "effects/Effect.h"
#include "platform/ForwardingPlatform.h"

namespace quillon {

class ChangeSeam : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) final;
    void deleteFile(const std::string& path) final;
    void removeEmptyDirectory(const std::string& path) final;
    void copyFile(const std::string& from, const std::string& to) final;
    void copyFileFlushed(const std::string& from, const std::string& to) final;
    void createDirectory(const std::string& path) final;

protected:
    // A tool about to start, with the effects read from its command line (none
    // when they cannot be read: its effect is then unknown). Starts it.
    virtual std::unique_ptr<StartedProcess> startTool(const std::string& commandLine,
                                                      const std::optional<std::vector<Effect>>& effects) = 0;
    // One file or folder change; `make` makes it.
    virtual void change(const Effect& effect, const std::function<void()>& make) = 0;
};

}  // namespace quillon
