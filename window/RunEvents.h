#pragma once
// The one event each of the window's runs (Optimize, Auto Optimize, "Undo
// last run...") writes to the Application log, as the console's APPLY and UNDO do.
#include <string>
#include <string_view>

#include "engine/Form.h"
#include "record/RunRecorder.h"
#include "restore/Restore.h"

namespace quillon {

// What a run going on has taken and failed at, noted as it goes by whatever
// runs inside it: while one lives, the notes go to it. Runs never overlap
// (they all run on the one user-interface thread), so the newest is the one noting.
class RunNotes {
public:
    RunNotes();
    ~RunNotes();
    RunNotes(const RunNotes&) = delete;
    RunNotes& operator=(const RunNotes&) = delete;

    // A page the run applies; a step that failed, in words, with why.
    static void Page(quillon::Page page);
    static void Failure(const std::string& what);
    // The run never started (another run held the machine): no step failed.
    static void Refusal(const std::string& why);

    // Writes the run's event: `name` is "Optimize" or "Auto Optimize". A run
    // that took no page, changed nothing and failed at nothing (a question
    // answered No) writes none.
    void report(Platform& platform, std::string_view name, const RecordedRun& recorded) const;

private:
    inline static RunNotes* current_ = nullptr;
    RunNotes* outer_;
    std::vector<quillon::Page> pages_;
    std::vector<std::string> failures_;
    std::string refusal_;
};

// The event of "Undo last run..." of `recordFolder`: `report` is null when
// nothing was put back, and `why` then says why.
void ReportWindowUndo(Platform& platform, const std::string& recordFolder, const RestoreReport* report,
                      const std::string& why = {});

}  // namespace quillon
