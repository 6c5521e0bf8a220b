#pragma once
// The fleet's report (/report FILE): each run appends one block of rows to a
// CSV file many machines share, one row per box and per control of the
// verb's pages, fine or not, then a summary row, so a compliant machine shows
// too and a spreadsheet opens the file as it is.
#include <string>
#include <vector>

#include "planning/NetChange.h"
#include "console/RunResult.h"
#include "console/VerbSteps.h"
#include "restore/Restore.h"

namespace quillon::console {

struct ReportRow {
    std::string page, number, caption;
    std::string result;  // ok, drift, changed, unchanged, failed, not present, not checked, left alone; STATUS: the state
    std::string now, wanted;
    std::string target;  // what was changed or put back, as the tab lines name it; "" for a box as a whole
};

// A field a spreadsheet would take for a formula (it begins with =, +, -, @,
// a tab or a CR and is no number) with an apostrophe first; else as it is.
std::string CsvField(const std::string& field);

// Whether /report names a folder (it ends in a backslash): then each
// computer writes its own COMPUTER.csv there, replaced whole each run.
bool ReportFolder(const std::string& report);

// "STATUS", "CHECK", "APPLY", "UNDO"; "" for the other verbs.
const char* ReportVerbName(Verb verb);
// ISO 8601 in UTC: "2026-12-08T13:40:00Z".
std::string IsoTime(const LocalTime& time);

// Fields joined by commas, each as CsvField gives it and quoted where it
// holds a comma, a quote or a line break, ended by CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

// The rows of every box, Services entry and other control of `pages`, each
// with what the run's net change says of it: for CHECK (`applied` false)
// ok, drift, not checked or not present; for APPLY changed, unchanged,
// failed or not present. A box the request does not name is left alone.
std::vector<ReportRow> NetChangeRows(VerbContext& verb, const SavedSelection* saved,
                                     const std::vector<Change>& changes, const std::vector<StepFailure>& failures,
                                     bool applied);

// A restore's rows, from what UNDO prints: each target put back (changed),
// not put back (failed) or kept as it is because it changed since the run
// (unchanged), under the steps of its change ("-" where no box made it).
std::vector<ReportRow> RestoreRows(const RunResult& result);

// Appends the run's block to the request's report file: its rows and a
// summary row with the exit status and how many rows had each result. Returns
// the verb's exit status: `exitStatus` once written; kReportInUse when
// another program kept the file in use through the wait; else, having said
// why, `unwritten`. Without /report, `exitStatus`. Every row names the run:
// the folder of `recordFolder` (the undo record it kept) when there is one.
int AppendReport(VerbContext& verb, const std::vector<ReportRow>& rows, int exitStatus, int unwritten,
                 const std::string& recordFolder = {});

}  // namespace quillon::console
