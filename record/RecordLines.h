#pragma once
// The record's state file: what each target held before the run and what the
// run wrote there, one fact a line, so a restore can tell the run's own work
// from what changed since. Lines are UTF-8, tab-separated, CR LF ended; every
// field is escaped so no name or text can break a line or add a field.
//   before|after  value   KEY  NAME  DATA        DATA: "-" (absent) or TYPE:HEX
//   before|after  key     KEY  present|absent    absent: the whole tree
//   before        tree    KEY                    the tree's values and keys are
//                                                all listed; others were absent
//   before        file    PATH absent | nocopy | copy  files\N NAME
//   after         file    PATH absent | copy  DIGEST
//   before|after  folder  PATH present|absent
//   after         tool    N                      the after lines that follow, up
//                                                to the next tool line, are the
//                                                changes of tool N (0: none)
//   after         ended   N                      tool N has ended
//   change  value|key|tree|file|folder|tool  PATH  NAME  PAGE  BOX  BOX  ENTRY  CONTROL  ITEM
//                 one change of the run, its target and the step it came
//                 from (-1: no box or entry), written with its after lines
//   failed  value|key|tree|file|folder|tool  PATH  NAME  PAGE  BOX  BOX  ENTRY  CONTROL  ITEM
//                 a change of the run that failed or was never made, as a
//                 change line names it; for showing and counting, never acted on
// A change of a tool whose end the record never saw is uncertain. Records
// without tool lines (older ones) hold no uncertain change; records without
// failed lines name no failure.
#include <optional>
#include <string>
#include <array>
#include <vector>

#include "effects/EffectTarget.h"
#include "engine/StepTag.h"
#include "platform/RegValue.h"
#include "record/RecordFiles.h"

namespace quillon {


// Change is no state: it names the target of one change of the run and the
// step it came from, written with that change's after lines, so the record
// can be counted and shown as the run printed it. Failed names one that
// failed, in the same fields.
enum class StateKind { Value, Key, Tree, File, Folder, Change, Tool, Ended, Failed };

// The step a change came from, as a record keeps it.
struct RecordedStep {
    Page page = Page::System;
    std::array<int, 2> boxes{-1, -1};
    int entry = -1;
    std::string control, item;
};

struct StateLine {
    bool after = false;  // what the run wrote; otherwise what was there before
    StateKind kind = StateKind::Value;
    std::string target;             // key or path; Tool and Ended: the tool's number
    std::string name;               // value name
    std::optional<RegValue> value;  // Value: nothing when absent
    bool present = false;           // Key, Folder; File: a copy kept (before) or made (after)
    std::string copy;               // File before: the copy's place in the record; empty: not kept
    std::string digest;             // File after: the content the run left
    TargetKind changed = TargetKind::Tool;  // Change, Failed: the kind of target; `target` and `name` name it
    RecordedStep step;                      // Change, Failed
};

// A change line; with `failed`, the line saying that change failed.
StateLine ChangeLine(const EffectTarget& target, const StepTag& step, bool failed = false);
// A target a record names, with its view as the record keeps it: a key of the
// 32-bit view by its native path, below HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node.
EffectTarget RecordedTarget(TargetKind kind, const std::string& path, const std::string& name = {});
// The target a change (or failed) line names.
EffectTarget ChangedTarget(const StateLine& change);

// One line, CR LF included.
std::string StateLineText(const StateLine& line);
// Nothing when the line is not one of the forms above.
std::optional<StateLine> ParseStateLine(const std::string& text);

// Text with backslash, tab and every control character escaped (\\ \t \r \n \xHH).
std::string EscapedField(const std::string& text);
std::optional<std::string> UnescapedField(const std::string& text);

// "1:480069000000" for REG_SZ "Hi"; "-" for no value.
std::string ValueField(const std::optional<RegValue>& value);
std::optional<std::optional<RegValue>> ParseValueField(const std::string& text);

// A short fingerprint of a file's bytes (FNV-1a, 64 bits, hex).
std::string ContentDigest(const std::string& bytes);

}  // namespace quillon
