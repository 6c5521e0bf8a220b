#pragma once
// Writes one undo record: for every target a run changes, what it held before
// the run (the first time) and what the change leaves there, appended and
// flushed before the change is made.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "effects/Effect.h"
#include "record/RecordFiles.h"
#include "record/RecordLines.h"
#include "platform/Platform.h"

namespace quillon {


// The prior state of this one target cannot be kept (a file that cannot be
// read): that change is not made, while the record itself goes on.
class TargetNotKept : public PlatformError {
public:
    using PlatformError::PlatformError;
};

class UndoRecordWriter {
public:
    UndoRecordWriter(Platform& machine, std::string root, bool restore)
        : machine_(machine), root_(std::move(root)), restore_(restore) {}

    // Whether a record could be written under the root (it exists or can be
    // made, and takes a file). Makes no record.
    bool writable();
    bool opened() const { return !folder_.empty(); }
    const std::string& folder() const { return folder_; }
    // Every state line written so far, in order.
    const std::vector<StateLine>& lines() const { return lines_; }

    // Writes down, flushed, what the effect's target held before the run, what
    // the effect leaves there and which step's change it is; the record's folder is made first when
    // there is none. Throws PlatformError when that cannot be done (the change
    // must then not be made), UnscriptableName when a name it would need
    // cannot be written exactly, TargetNotKept when the target cannot be read.
    // `tool`: the number of the tool that will make the change (0: made directly).
    void keep(const Effect& effect, const StepTag& step, int tool = 0);
    // Tool N has ended: its changes are certain. Written out when the system
    // will; one lost leaves them uncertain, which a restore keeps.
    void ended(int tool);
    // Writes out what is left of the log.
    void settle();
    // A change that leaves its target as it is: named with the record's next
    // write, so the record shows every step that touched a target it changed.
    void note(const Effect& effect, const StepTag& step);
    // A change that failed or was not made, named likewise: the record then
    // tells which steps failed, and counts no tool that never ran.
    void failed(const Effect& effect, const StepTag& step);
    // After a change failed (a value, key, file or folder): writes what its target holds
    // now, so the record never claims a change that did not happen.
    void keepFailed(const Effect& effect);
    // A line of changes.txt, the readable log; not needed for restoring. It
    // is written out with the record's next write.
    void log(const std::string& line);
    // Removes the record's folder (the run left nothing to take back).
    void remove();
    // Removes the oldest records past the newest 20, never this one nor `keepAlso`'s.
    void prune();
    // A record pruning must leave, as the one a restore is taking back.
    void keepAlso(const std::string& folder) { alsoKept_.push_back(folder); }

private:
    struct KeySnapshot {
        std::string path;
        std::vector<NamedRegValue> values;
    };
    struct Pending {
        std::string script;              // undo.reg text
        std::vector<StateLine> state;    // state.txt lines
    };
    void open();
    void keepValue(const std::string& key, const std::string& name, Pending& out);
    void keepMissingKey(const std::string& key, Pending& out);
    void keepTree(const std::string& key, Pending& out);
    void keepFile(const std::string& path, Pending& out);
    void keepFolder(const std::string& path, Pending& out);
    void after(const Effect& effect, Pending& out);
    bool covered(const std::string& key) const;
    std::vector<KeySnapshot> priorTree(const std::string& key);
    void readTree(const std::string& key, std::vector<KeySnapshot>& out);
    void flush(const Pending& pending);
    void writeLog();

    Platform& machine_;
    std::string root_;
    bool restore_;
    std::string folder_;
    std::string unwrittenLog_;  // changes.txt lines not yet written
    std::vector<StateLine> unwrittenNotes_;  // change lines of changes that changed nothing
    int copies_ = 0;
    std::vector<StateLine> lines_;
    // Values kept, by lower-case key and name: the value before the run, or none.
    std::map<std::string, std::optional<RegValue>> values_;
    // Keys kept whole, by lower-case path: the tree before the run (empty: the key did not exist).
    std::map<std::string, std::vector<KeySnapshot>> trees_;
    std::set<std::string> paths_;  // files and folders kept, lower case
    std::vector<std::string> alsoKept_;
    int group_ = 0;  // the tool whose changes the state lines now are
    // Keys whose default value a tool may empty (not every `reg add` does),
    // by tool: what it holds is read when that tool has ended.
    std::vector<std::pair<int, std::string>> defaultsToRead_;
};

}  // namespace quillon
