#pragma once
// What a verb that runs or checks found, change by change, once: the tab
// lines, the closing summary line and the /json document are each rendered
// from it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/VerbSteps.h"

namespace quillon::console {

struct ChangeOutcome {
    std::string pages, numbers, captions;  // the steps of the change, as StepFields joins them
    std::string what, before, after;
    // APPLY, UNDO: changed, unchanged, failed, not present; CHECK: drift, ok, not checked, not present.
    std::string result;
};

struct RunResult {
    std::vector<ChangeOutcome> changes;
    // The results a tab line is printed for, and those the summary counts, in its order.
    std::vector<std::string_view> printed, counted;
    // APPLY and UNDO: the record kept, "" for none; nothing where the verb keeps none (CHECK, /noundo).
    std::optional<std::string> undoFolder;
    // UNDO: the record it took back.
    std::string takenBack = {};
};

// "summary", each counted result with how many changes had it ("changed 3"),
// then the undo folder or "none"; tab-separated.
std::string SummaryLine(const RunResult& result);

// TEXT as a JSON string, quotes included.
std::string JsonString(std::string_view text);

// One JSON document: computer, user, time, verb, exit status, undo folder, the counts and every change.
std::string JsonDocument(const RunResult& result, VerbContext& verb, int exitStatus);

// The verb's standard output: the document with /json, else the tab line of
// each printed change, the `undo` line where there is a record to name, and the summary line.
void PrintResult(VerbContext& verb, const RunResult& result, int exitStatus);

}  // namespace quillon::console
