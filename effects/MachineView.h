#pragma once
// What an effect's target looks like, on the machine itself or on the machine
// as a plan has changed it so far, and what the effect would do to it.
#include <optional>
#include <string>

#include "effects/Change.h"
#include "effects/Effect.h"

namespace quillon {

class Platform;

class MachineView {
public:
    virtual ~MachineView() = default;
    virtual std::optional<RegValue> value(const std::string& key, const std::string& name) = 0;
    virtual bool keyExists(const std::string& key) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool folderExists(const std::string& path) = 0;
};

// The machine as it is now.
class PlatformView : public MachineView {
public:
    explicit PlatformView(Platform& machine) : machine_(machine) {}
    std::optional<RegValue> value(const std::string& key, const std::string& name) override;
    bool keyExists(const std::string& key) override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;

private:
    Platform& machine_;
};

// What `reg add KEY` may leave as the key's default value.
inline const RegValue kEmptyDefault = TextValue(reg_type::String, "");

struct Assessment {
    TargetState before;     // the target's state now (ChangeWords.h has the words)
    TargetState after;      // what the effect leaves
    bool changes = false;   // whether the effect would change anything
    bool readable = true;   // false when its result cannot be read back
    bool succeeds = true;   // whether the tool would report success
};

Assessment Assess(const Effect& effect, MachineView& view);

}  // namespace quillon
