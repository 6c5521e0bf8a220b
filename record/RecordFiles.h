#pragma once
// The files of one undo record, in its folder ROOT\YYYY-MM-DD HH-MM-SS COMPUTER
// (RecordStore.h):
//   record.txt   who made it, when, in what order (written first)
//   state.txt    each target before the run and after each change (RecordLines.h)
//   undo.reg     the registry as it was, UTF-16LE, for regedit by hand
//   files\       copies of the files the run deleted
//   changes.txt  one line per change, before and after, and what failed; for people
//   undone.txt   there once a restore failed nowhere

namespace quillon {

inline constexpr const char* kRecordHeaderFile = "record.txt";
inline constexpr const char* kStateFile = "state.txt";
inline constexpr const char* kUndoScript = "undo.reg";
inline constexpr const char* kKeptFiles = "files";
inline constexpr const char* kChangesLog = "changes.txt";
inline constexpr const char* kUndoneMark = "undone.txt";

}  // namespace quillon
