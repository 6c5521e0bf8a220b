#pragma once
// Writes one undo record: the prior state of every target a run changes,
// appended and flushed before the change is made.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "journal/Effect.h"
#include "platform/Platform.h"

namespace quillon {

inline constexpr const char* kUndoScript = "undo.reg";
inline constexpr const char* kChangesLog = "changes.txt";
inline constexpr const char* kRestoreList = "restore.txt";
inline constexpr const char* kKeptFiles = "files";

class UndoRecordWriter {
public:
    explicit UndoRecordWriter(Platform& machine) : machine_(machine) {}

    // Makes the record's folder and files, and removes the records past the
    // newest kept. Tried once; false when the record cannot be written.
    bool open();
    bool opened() const { return !folder_.empty(); }
    bool complete() const { return opened() && complete_; }
    const std::string& folder() const { return folder_; }

    // Writes down what the effect is about to change, as it was before the run.
    void keep(const Effect& effect);
    // A line of changes.txt.
    void log(const std::string& line);

private:
    struct KeySnapshot {
        std::string path;
        std::vector<NamedRegValue> values;
    };
    void keepValue(const std::string& key, const std::string& name);
    void keepMissingKey(const std::string& key);
    void keepTree(const std::string& key);
    void keepFile(const std::string& path);
    bool covered(const std::string& key) const;
    std::vector<KeySnapshot> priorTree(const std::string& key);
    void readTree(const std::string& key, std::vector<KeySnapshot>& out);
    void appendScript(const std::string& text);
    void appendRestore(const std::string& line);
    void write(const std::string& name, std::string_view bytes);

    Platform& machine_;
    bool tried_ = false;
    bool complete_ = true;
    std::string folder_;
    int copies_ = 0;
    // Values kept, by lower-case key and name: the value before the run, or none.
    std::map<std::string, std::optional<RegValue>> values_;
    // Keys kept whole, by lower-case path: the tree before the run (empty: the key did not exist).
    std::map<std::string, std::vector<KeySnapshot>> trees_;
    std::map<std::string, bool> services_;
};

}  // namespace quillon
