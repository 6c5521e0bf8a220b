// UNDO: takes a run back from its record, or lists the records.
#include "console/NetRun.h"
#include "console/ProgressBar.h"
#include "console/RecordSteps.h"
#include "console/RunResult.h"
#include "console/Report.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "record/RecordLog.h"
#include "record/RecordReader.h"
#include "record/RecordChanges.h"
#include "record/RecordState.h"
#include "record/RecordStore.h"
#include "record/UndoneMarks.h"
#include "restore/RecordCheck.h"
#include "restore/Restore.h"
#include "platform/Platform.h"
#include "platform/TextMatch.h"
#include "words/StepNames.h"
#include "effects/ChangeWords.h"

namespace quillon::console {
namespace {

// A target a restore left as it is, in APPLY's fields: the steps of its change, what, before, after.
std::string KeptLine(const std::vector<std::string>& step, const std::string& target, const std::string& why) {
    return Tabbed({step.at(0), step.at(1), step.at(2), "kept " + target, "-", why});
}

// A record named without a folder is one in the root.
std::string RecordFolder(const std::string& root, const std::string& named) {
    if (named.find('\\') == std::string::npos && named.find('/') == std::string::npos &&
        named.find(':') == std::string::npos)
        return root + "\\" + named;
    return named;
}

// Each record is read and checked as UNDO would (of its own computer and user),
// so one it would refuse shows so; one bad record never hides the others.
// The parts a record holds changes of: "machine", "user", "machine,user", or "-".
std::string Parts(VerbContext& verb, const std::string& folder) {
    std::string parts;
    for (TargetScope part : {TargetScope::Machine, TargetScope::User})
        if (RecordHoldsPart(verb.platform, folder, part))
            parts += std::string(parts.empty() ? "" : ",") + (part == TargetScope::Machine ? "machine" : "user");
    return parts.empty() ? "-" : parts;
}

// Whether /computer, /user and /scope let the record be listed.
bool Listed(VerbContext& verb, const StoredRecord& r) {
    const Request& q = verb.request;
    return (!q.computer || EqualNoCase(*q.computer, r.header.computer)) &&
           (!q.user || EqualNoCase(*q.user, r.header.user)) &&
           (!q.scope || RecordHoldsPart(verb.platform, r.folder, *q.scope));
}

int ListUndoRecords(VerbContext& verb, const std::string& root) {
    const std::vector<StoredRecord> records = ListRecords(verb.platform, root);
    if (records.empty()) verb.say("there is no undo record in " + root);
    for (const StoredRecord& r : records) {
        if (!Listed(verb, r)) continue;
        std::string changes = "-", pages = "-", state = UndoneState(verb.platform, r.folder);
        // A part taken back alone leaves the other open, for whoever it belongs to.
        if (state == "open" && PartUndone(verb.platform, r.folder, TargetScope::Machine)) state = "machine undone, user open";
        if (state == "open" && PartUndone(verb.platform, r.folder, TargetScope::User)) state = "user undone, machine open";
        try {
            const RecordContents record = ReadRecord(verb.platform, r.folder);
            CheckRecord(verb.platform, record, r.header, r.header.computer, r.header.user);
            changes = std::to_string(CountChanges(record.lines));
            pages.clear();
            for (Page page : ChangedPages(record.lines)) pages += (pages.empty() ? "" : ",") + PageName(page);
        } catch (const PlatformError& error) {
            state = std::string("damaged: ") + error.what();
        }
        verb.terminal.out(Tabbed({r.folder, RecordTimeText(r.header.time), r.header.computer, r.header.user,
                                  r.header.restore ? "restore" : "run", pages.empty() ? "-" : pages, changes, state,
                                  Parts(verb, r.folder)}));
    }
    return kDone;
}

// A record's changes in APPLY's fields, and what a restore of it could not put back.
int ShowUndoRecord(VerbContext& verb, const std::string& folder) {
    const std::optional<RecordHeader> header = ReadRecordHeader(verb.platform, folder);
    if (!header) {
        verb.say(folder + ": not an undo record (a link, not named as records are, or no valid record header)");
        return kBadUsage;
    }
    RecordContents record;
    try {
        record = ReadRecord(verb.platform, folder);
    } catch (const PlatformError& error) {
        verb.say(folder + ": damaged: " + error.what());
        return kBadUsage;
    }
    for (const Change& change : RecordedChanges(record.lines)) verb.terminal.out(ChangeLine(change));
    // What it failed to change, and as a restore what it kept as it is, as the record's log names it.
    for (const LoggedTarget& logged : LoggedTargets(verb.platform, folder))
        verb.terminal.out(logged.kept ? KeptLine(logged.stepFields, logged.target, logged.why)
                                      : Tabbed({"failed", logged.failure}));
    return kDone;
}

// The record the request names, or the one an undo takes by itself; empty
// after saying why there is none.
// The newest record of this computer whose machine part is still open, whichever user ran it:
// the machine part belongs to the computer.
std::optional<std::string> MachinePartToUndo(VerbContext& verb, const std::string& root) {
    const std::string computer = verb.platform.computerName();
    const LocalTime now = verb.platform.localTime();
    for (const StoredRecord& r : ListRecords(verb.platform, root))
        if (!r.undone && !r.header.restore && !DatedAfterNow(r.header, now) && EqualNoCase(r.header.computer, computer) &&
            RecordHoldsPart(verb.platform, r.folder, TargetScope::Machine) &&
            !PartUndone(verb.platform, r.folder, TargetScope::Machine))
            return r.folder;
    return std::nullopt;
}

std::string ChosenRecord(VerbContext& verb, const std::string& root) {
    if (verb.request.undoFolder) return RecordFolder(root, *verb.request.undoFolder);
    if (verb.request.scope == TargetScope::Machine) {
        if (auto newest = MachinePartToUndo(verb, root)) return *newest;
        verb.say("there is no undo record of this computer with a machine part left to take back in " + root);
        return {};
    }
    if (auto newest = RecordToUndo(verb.platform, root)) return *newest;
    verb.say("there is no undo record of this computer and user left to take back in " + root);
    return {};
}

// The record's header, when it is a record of this computer; nothing after saying why not.
std::optional<RecordHeader> RestorableHeader(VerbContext& verb, const std::string& folder) {
    // Only a record this program wrote, on this computer, is ever restored.
    std::optional<RecordHeader> header = ReadRecordHeader(verb.platform, folder);
    if (!header) {
        verb.say(folder +
                 ": not an undo record (a link, not named as records are, or no valid record header); nothing was changed");
        return std::nullopt;
    }
    const std::string computer = verb.platform.computerName();
    if (!EqualNoCase(header->computer, computer)) {
        verb.say(folder + ": a record of the computer " + header->computer + ", not of this one (" + computer +
                 "); nothing was changed");
        return std::nullopt;
    }
    return header;
}

// The record (or the part /scope names) put back; nothing after saying why it was refused whole.
std::optional<RestoreReport> Restored(VerbContext& verb, const std::string& folder, const RecordHeader& header) {
    ProgressBar bar(verb.terminal);
    bar.show(0, "restoring " + folder);
    const auto& part = verb.request.scope;
    try {
        RestoreReport report =
            part ? RestoreRecordPart(verb.platform, folder, header, verb.platform.computerName(),
                                     verb.platform.userName(), *part)
                 : RestoreRecord(verb.platform, folder);
        bar.show(1, "restored");
        return report;
    } catch (const PlatformError& error) {
        bar.finish();
        // Another user's record: its machine-wide part can still be taken back alone.
        const bool another = !EqualNoCase(header.user, verb.platform.userName());
        verb.say(folder + ": " + error.what() + "; nothing was changed" +
                 (another && !part ? "; UNDO \"" + folder + "\" /scope machine takes back its machine-wide part alone"
                                   : std::string()));
        return std::nullopt;
    }
}

// Each change names the boxes of the run's change as APPLY did: page, number,
// caption, what, before, after. What changed since the run stays as it is
// now (unchanged), named so it can be looked at.
RunResult RestoreResult(VerbContext& verb, const std::string& folder, const RestoreReport& report) {
    RunResult result{{}, {"changed", "unchanged"}, {"changed", "unchanged", "failed", "not present"}, report.undoFolder, folder};
    const RecordSteps steps(verb.platform, folder);
    for (const RecordedEffect& e : report.effects) {
        if (!e.changes) continue;
        if (e.failed) verb.say("failed: " + DescribeEffect(e.effect) + (e.reason.empty() ? "" : ": " + e.reason));
        const auto step = StepFields(steps.of(TargetOf(e.effect)));
        result.changes.push_back({step[0], step[1], step[2], DescribeEffect(e.effect), DescribeState(e.before), DescribeState(e.after),
                                  e.failed ? "failed" : "changed"});
    }
    for (const KeptTarget& kept : report.kept) {
        const auto step = StepFields(kept.steps);
        result.changes.push_back({step[0], step[1], step[2], "kept " + kept.target, "-", kept.why, "unchanged"});
    }
    for (const std::string& note : report.notes) verb.say(note);
    return result;
}

// Marks what was taken back: the whole record, so an undo without a folder
// passes over it from now on, or one part alone, leaving it open for the
// other; a failure leaves it open, to be tried again.
int MarkRestored(VerbContext& verb, const std::string& folder, const RestoreReport& report) {
    if (report.failed > 0) {
        try {
            MarkPartlyUndone(verb.platform, folder, report.undoFolder);
        } catch (const PlatformError&) {
            // It stays open all the same.
        }
        return kSomeStepsFailed;
    }
    try {
        const auto& part = verb.request.scope;
        const TargetScope other = part == TargetScope::Machine ? TargetScope::User : TargetScope::Machine;
        if (part && RecordHoldsPart(verb.platform, folder, other) && !PartUndone(verb.platform, folder, other))
            MarkPartUndone(verb.platform, folder, *part, report.undoFolder);
        else
            MarkUndone(verb.platform, folder, report.undoFolder, static_cast<int>(report.kept.size()));
    } catch (const PlatformError& error) {
        verb.say(folder + " was restored but cannot be marked as undone: " + error.what());
        return kSomeStepsFailed;
    }
    return kDone;
}

}  // namespace

std::string RecordRoot(Platform& platform, const Request& request) {
    return request.undoRoot ? *request.undoRoot : DefaultUndoRoot(platform);
}

int Undo(VerbContext& verb) {
    std::string root;
    try {
        root = RecordRoot(verb.platform, verb.request);
    } catch (const PlatformError& error) {
        verb.say(std::string(error.what()) + "; nothing was changed");
        return kBadUsage;
    }
    if (verb.request.listRecords) return ListUndoRecords(verb, root);
    if (verb.request.showRecord) return ShowUndoRecord(verb, RecordFolder(root, *verb.request.undoFolder));
    const std::string folder = ChosenRecord(verb, root);
    if (folder.empty()) return kBadUsage;
    const std::optional<RecordHeader> header = RestorableHeader(verb, folder);
    if (!header) return kBadUsage;
    const std::optional<RestoreReport> report = Restored(verb, folder, *header);
    if (!report) return kBadUsage;
    const RunResult result = RestoreResult(verb, folder, *report);
    const int status =
        AppendReport(verb, RestoreRows(result), MarkRestored(verb, folder, *report), kSomeStepsFailed, report->undoFolder);
    PrintResult(verb, result, status);
    return status;
}

}  // namespace quillon::console
