#pragma once
// What a run changes on the machine, target by target: the state of each
// target before the run's first change to it against its state at the end.
// A target several steps touch is one change naming all of them; a key
// deleted and made again with the same content is no change at all.
//
// A NetChangeWatch stands in front of the platform a run changes: before a
// change passes, it reads what the change touches (a whole tree for a key
// deleted or copied over); afterwards changes() reads it all again. In front
// of a planning platform it gives the net change of a plan; in front of the
// machine, what the run really changed, read back.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/Step.h"  // StepFailure: a tool that ended reporting failure where it had something to change
#include "effects/Change.h"
#include "effects/EffectTarget.h"
#include "effects/ChangeSeam.h"

namespace quillon {

class NetChangeWatch : public ChangeSeam {
public:
    // `everyStepRuns`: the run starts every step's tool, as the window's
    // Optimize does; otherwise only where a target differs, as APPLY does.
    NetChangeWatch(Platform& below, const RunStack& stack, bool everyStepRuns = false)
        : ChangeSeam(below, stack), everyStepRuns_(everyStepRuns) {}
    ~NetChangeWatch() override;

    // Every target touched so far, in the order first touched, its after
    // state read now. A tool started and not waited for is waited for first.
    std::vector<Change> changes();
    const std::vector<StepFailure>& toolFailures() const { return toolFailures_; }
    // After changes(): whether the target `effect` acts on changed (a tool
    // always does); an effect on a target never watched may change anything.
    bool differs(const Effect& effect) const;

protected:
    std::unique_ptr<StartedProcess> startTool(const std::string& commandLine,
                                              const std::optional<std::vector<Effect>>& effects,
                                              const StepTag& step) override;
    void change(const Effect& effect, const StepTag& step, const std::function<void()>& make) override;

private:
    class WatchedProcess;
    // One value, key, file or folder a target is made of, its path as first met.
    using Item = EffectTarget;
    struct Target {
        std::vector<StepTag> steps;
        Effect effect;
        std::vector<TargetKey> items;
        std::string tree;  // a key whose whole tree is watched; empty for one item
        bool present = true;
        bool tool = false;
        bool underTree = false;  // a later change to a whole tree holding it decides what it holds
        bool changed = false;    // as changes() last found it
        // The default value `reg add` may empty on the key it adds: shown with
        // the key, and never the reason a run that tests before it sets starts it.
        std::optional<Item> emptiedDefault;
        TargetState defaultBefore;
    };

    // Returns the target's index.
    std::size_t watch(const Effect& effect, const StepTag& step);
    std::optional<std::size_t> targetOf(const Effect& effect) const;
    std::optional<std::size_t> targetOf(const EffectTarget& target, const TargetKey& key) const;
    // Whether a target of this kind is one item (a tree is many, a tool none).
    static bool OneItem(TargetKind kind);
    void watchItem(std::size_t target, Item item);
    void watchTree(std::size_t target, const std::string& key, const std::string& from, RegView view);
    TargetState state(const Item& item);
    TargetState summary(const Target& target, const std::vector<TargetState>& states);
    // Whether the machine holds what a change to one value leaves.
    bool Holds(const Effect& effect);

    bool everyStepRuns_;
    std::vector<Target> targets_;
    std::map<TargetKey, std::size_t> byKey_;  // a target's key -> index
    struct Watched {
        Item item;
        std::size_t owner;   // the target that shows it
        TargetState before;  // its state before the run's first change to it
    };
    std::map<TargetKey, Watched> items_;
    std::vector<StepFailure> toolFailures_;
    bool closing_ = false;  // declared first: read while unwaited_ goes
    std::vector<std::unique_ptr<StartedProcess>> unwaited_;  // one-shot tools nobody waited for
};

}  // namespace quillon
