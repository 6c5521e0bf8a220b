#pragma once
// The verbs, each in its own file; Verbs.cpp parses and dispatches.
#include <initializer_list>
#include <string>
#include <vector>

#include "console/Arguments.h"
#include "console/Terminal.h"
#include "engine/StepTag.h"
#include "effects/Effect.h"

#include "settings/StrictSelection.h"

namespace quillon {
class Platform;
}

namespace quillon::console {

inline constexpr char kToolName[] = "quillonc: ";

struct RunResult;

struct VerbContext {
    const Request& request;
    Terminal& terminal;
    Platform& platform;
    std::string userName;
    RunResult* outcome = nullptr;  // receives the result the verb prints, for its event

    void say(const std::string& message) { terminal.err(kToolName + message); }
};

// One output line: the fields joined by tabs; a tab or line break inside a
// field becomes a blank so that `for /f` sees the fields it expects.
std::string Tabbed(std::initializer_list<std::string> fields);

// The requested pages in the order one optimise run takes them.
std::vector<Page> InRunOrder(const std::vector<Page>& pages);

int List(VerbContext& verb);
int Status(VerbContext& verb);
// `selection` is null when /on and /off say what to run.
int Preview(VerbContext& verb, const SavedSelection* selection);
int Check(VerbContext& verb, const SavedSelection* selection);
int Apply(VerbContext& verb, const SavedSelection* selection);
int Undo(VerbContext& verb);
int Export(VerbContext& verb);

// Where APPLY and UNDO keep records: the /undodir folder, else the machine's
// own place. Throws PlatformError when the system cannot name that place.
std::string RecordRoot(Platform& platform, const Request& request);

}  // namespace quillon::console
