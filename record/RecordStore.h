#pragma once
// Where undo records live and which folders there are records. A record is a
// folder ROOT\YYYY-MM-DD HH-MM-SS COMPUTER (" (N)" when taken; older records
// lack the computer) whose header file,
// written first, names its computer, user, time and sequence. A folder
// named otherwise, a link, or one without a valid header is not a record: it
// is never listed, chosen, pruned or restored, whatever else it holds.
#include <optional>
#include <string>
#include <vector>

#include "record/RecordFiles.h"
#include "record/RecordHeader.h"
#include "platform/Platform.h"

namespace quillon {

inline constexpr int kRecordsKept = 20;
// A header is a few hundred bytes; no header or mark is longer than this.
inline constexpr std::size_t kLongestHeader = 4096;
// No file of a record is longer than this: a longer one is damage (or worse),
// refused before it is read. A file a run would have to copy past it is not deleted.
inline constexpr std::size_t kLongestRecordFile = 16 * 1024 * 1024;

// The machine's own place for records: Quillon\undo in the application data
// shared by all users, so the program may run from a read-only or shared folder.
// Throws PlatformError when the system cannot name that folder.
std::string DefaultUndoRoot(Platform& machine);

// The header of the record in `folder`; nothing when the folder is not a record
// (not named as records are, a link, or no valid header).
std::optional<RecordHeader> ReadRecordHeader(Platform& machine, const std::string& folder);

// Makes a new record folder under `root` (and the root, when missing) with its
// header written and flushed before anything else; its name carries the time
// and the computer, and its sequence is one more than the highest of this
// computer's records in the root. Returns the folder; throws PlatformError.
std::string CreateRecordFolder(Platform& machine, const std::string& root, bool restore);

// Removes this computer and user's records past their newest `keep`, oldest
// first by header (time, then sequence), never one of `kept` (which count
// among the `keep`) and never another's: a folder many computers share keeps
// each one's own. A link inside a record goes as a link; its target is never
// entered. A record that cannot go is left for next time.
void PruneRecords(Platform& machine, const std::string& root, int keep, const std::vector<std::string>& kept);

struct StoredRecord {
    std::string folder;
    RecordHeader header;
    bool undone = false;
};
// The records in `root`, newest first by header. A folder that is itself a link is not one.
std::vector<StoredRecord> ListRecords(Platform& machine, const std::string& root);

// The record an undo without a named folder takes: the newest of this computer
// and user that has not been undone, is not the record of a restore and is
// not dated after now.
std::optional<std::string> RecordToUndo(Platform& machine, const std::string& root);

// Makes the folder and any of its parents that are missing; throws PlatformError.
void MakeFolderPath(Platform& machine, const std::string& path);

// Makes the records' root where missing and lets only administrators and the
// system write there (the default root's Quillon folder too), tightening a
// folder someone made beforehand; throws PlatformError when it cannot.
void PrepareUndoRoot(Platform& machine, const std::string& root);

// Whether the record is dated after `now`: no run made it. The hour a clock
// is set back at the end of summer time is allowed for.
bool DatedAfterNow(const RecordHeader& header, const LocalTime& now);

// A name as one header field: no tab or line break can end it early.
std::string FieldText(std::string text);

// "2026-01-02 03:04:05", as headers and listings write a time.
std::string RecordTimeText(const LocalTime& time);

// The time a record folder's own name gives ("YYYY-MM-DD HH-MM-SS ..."); nothing
// for a name this program does not give.
std::optional<LocalTime> TimeOfRecordFolder(const std::string& folder);

}  // namespace quillon
