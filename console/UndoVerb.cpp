// UNDO: takes a run back from its record, or lists the records.
#include "console/ProgressBar.h"
#include "console/Report.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "record/RecordStore.h"
#include "restore/RecordCheck.h"
#include "restore/Restore.h"
#include "platform/Platform.h"
#include "platform/TextMatch.h"

namespace quillon::console {
namespace {

// A record named without a folder is one in the root.
std::string RecordFolder(const std::string& root, const std::string& named) {
    if (named.find('\\') == std::string::npos && named.find('/') == std::string::npos &&
        named.find(':') == std::string::npos)
        return root + "\\" + named;
    return named;
}

// Each record is read and checked as UNDO would (of its own computer and user),
// so one it would refuse shows so; one bad record never hides the others.
int ListUndoRecords(VerbContext& verb, const std::string& root) {
    const std::vector<StoredRecord> records = ListRecords(verb.platform, root);
    if (records.empty()) verb.say("there is no undo record in " + root);
    for (const StoredRecord& r : records) {
        std::string changes = "-", state = r.undone ? "undone" : "open";
        try {
            CheckRecord(verb.platform, ReadRecord(verb.platform, r.folder), r.header, r.header.computer,
                        r.header.user);
            changes = std::to_string(CountRecordedChanges(verb.platform, r.folder));
        } catch (const PlatformError& error) {
            state = std::string("damaged: ") + error.what();
        }
        verb.terminal.out(Tabbed({r.folder, RecordTimeText(r.header.time), r.header.computer, r.header.user,
                                  changes, state}));
    }
    return kDone;
}

// The record the request names, or the one an undo takes by itself; empty
// after saying why there is none.
std::string ChosenRecord(VerbContext& verb, const std::string& root) {
    if (verb.request.undoFolder) return RecordFolder(root, *verb.request.undoFolder);
    if (auto newest = RecordToUndo(verb.platform, root)) return *newest;
    verb.say("there is no undo record of this computer and user left to take back in " + root);
    return {};
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
    const std::string folder = ChosenRecord(verb, root);
    if (folder.empty()) return kBadUsage;

    // Only a record this program wrote, on this computer, is ever restored.
    const std::optional<RecordHeader> header = ReadRecordHeader(verb.platform, folder);
    if (!header) {
        verb.say(folder + ": not an undo record (no valid record header); nothing was changed");
        return kBadUsage;
    }
    const std::string computer = verb.platform.computerName();
    if (!EqualNoCase(header->computer, computer)) {
        verb.say(folder + ": a record of the computer " + header->computer + ", not of this one (" + computer +
                 "); nothing was changed");
        return kBadUsage;
    }

    RestoreReport report;
    {
        ProgressBar bar(verb.terminal);
        bar.show(0, "restoring " + folder);
        try {
            report = RestoreRecord(verb.platform, folder);
        } catch (const PlatformError& error) {
            bar.finish();
            verb.say(folder + ": " + error.what() + "; nothing was changed");
            return kBadUsage;
        }
        bar.show(1, "restored");
    }
    for (const RecordedEffect& e : report.effects) {
        if (e.failed && e.changes)
            verb.say("failed: " + DescribeEffect(e.effect) + (e.reason.empty() ? "" : ": " + e.reason));
        else if (e.changes && !e.failed) verb.terminal.out(Tabbed({DescribeEffect(e.effect), e.before, e.after}));
    }
    // What changed since the run stays as it is now, named so it can be looked at.
    for (const KeptTarget& kept : report.kept) verb.terminal.out(Tabbed({"kept", kept.target, kept.why}));
    for (const std::string& note : report.notes) verb.say(note);
    verb.terminal.out(Tabbed({"undo", report.undoFolder.empty() ? "none" : report.undoFolder}));
    const auto reported = [&](int status) -> int {
        if (verb.request.reportFile && !AppendReport(verb, RestoreRows(report), status)) return kSomeStepsFailed;
        return status;
    };
    if (report.failed > 0) return reported(kSomeStepsFailed);
    // Taken back whole: an undo without a folder passes over it from now on.
    try {
        MarkUndone(verb.platform, folder, report.undoFolder);
    } catch (const PlatformError& error) {
        verb.say(folder + " was restored but cannot be marked as undone: " + error.what());
        return reported(kSomeStepsFailed);
    }
    return reported(kDone);
}

}  // namespace quillon::console
