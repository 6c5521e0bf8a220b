#pragma once
// The words for a change, one place for all of them: the console's lines, the
// fleet report, the record's log and the window's preview and undo offer.
#include <string>

#include "effects/Change.h"

namespace quillon {

// "System, box 54", "Services, entry 3 (Alerter ...)", "Security, txtPath".
std::string DescribeStep(const StepTag& step);

// One line for people: what the effect does to which target.
std::string DescribeEffect(const Effect& effect);

// The target alone: "KEY\\name", "key KEY", "key tree KEY", "file PATH",
// "folder PATH", "run COMMAND".
std::string DescribeTarget(const EffectTarget& target);

// What a change does: its last effect where it was read live, else its target.
std::string DescribeWhat(const Change& change);

// "absent", "present", "present, 3 values", REG_DWORD 0x00000004 (4),
// "disabled", "no such service", "unknown"; a key's default value after it.
std::string DescribeState(const TargetState& state);

// The same for someone who has not read how a plan reads the machine:
// "not there", "there", "cannot be read".
std::string StateInWords(const TargetState& state);

// The program a command line starts: "chkntfs.exe /x c:".
std::string ToolInBrief(const std::string& commandLine);

// What an effect changes, short enough for a table cell: the last part of a
// key or path ("Policies\\NoRun", "key Explorer", "copy into key Minimal").
std::string TargetInBrief(const Effect& effect);

}  // namespace quillon
