#include "console/Usage.h"

#include "words/Version.h"

namespace quillon::console {

std::string VersionLine() { return "Quillon console VERSION " QUILLON_VERSION_TEXT; }

std::vector<std::string> UsageLines() {
    return {
        VersionLine(),
        "",
        "quillonc LIST    [/page NAME]...",
        "    Every box: page, number, caption, what ticking and unticking do.",
        "quillonc STATUS  [/page NAME]...",
        "    Every box of System, Security and Services: on, off, partial or unknown.",
        "quillonc PREVIEW [/selection FILE] [/page NAME]...",
        "    The changes a run would make. Changes nothing.",
        "quillonc APPLY   [/selection FILE] [/page NAME]... [/noundo | /undodir DIR]",
        "    Applies the selection silently; prints the changes made and the undo folder.",
        "    Refuses to start when no undo record can be written, unless /noundo is given.",
        "quillonc UNDO    [FOLDER] [/undodir DIR]",
        "    Restores an undo record (default: the newest of this computer and user",
        "    not yet undone). Refuses a folder that is no record or another computer's.",
        "quillonc UNDO    /list [/undodir DIR]",
        "    Every record: folder, time, computer, user, changes, undone or open.",
        "quillonc VERSION",
        "    The version line above.",
        "quillonc /?",
        "    This help.",
        "",
        "NAME is System, Security, Services or Speed (STATUS: the first three).",
        "FILE defaults to setup.dat beside quillonc.exe; pages default to all four.",
        "DIR defaults to Quillon\\undo in the application data of all users.",
        "Output: one line per box or change, fields separated by a tab.",
        "Exit status: 0 done, 1 some steps failed, 2 bad usage or selection file,",
        "3 no undo record could be written.",
    };
}

}  // namespace quillon::console
