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
        "quillonc STATUS  [/page NAME]... [/wait SECONDS]",
        "    Every box of System, Security and Services: on, off, partial, not set,",
        "    absent (a service the machine lacks) or unknown.",
        "quillonc PREVIEW [/selection FILE | /boxes FILE | /on LIST /off LIST] [/page NAME]...",
        "                 [/scope PART] [/wait SECONDS]",
        "    The changes a run would make, one line per target. Changes nothing.",
        "quillonc CHECK   [/selection FILE | /boxes FILE | /on LIST /off LIST] [/page NAME]...",
        "                 [/scope PART] [/json] [/wait SECONDS]",
        "    What differs from the selection. Changes nothing. Exit 0 matches, 1 drifted.",
        "quillonc APPLY   [/selection FILE | /boxes FILE | /on LIST /off LIST] [/page NAME]...",
        "                 [/scope PART] [/noundo | /undodir DIR] [/wait SECONDS]",
        "    Applies silently what differs from the selection; prints the changes made, read back,",
        "    the tools run and how they ended, and the undo folder.",
        "    Refuses to start when no undo record can be written, unless /noundo is given.",
        "quillonc EXPORT  /selection FILE | /boxes FILE [/scope PART] [/force] [/wait SECONDS]",
        "    Writes the machine's live state as a selection file, or as a boxes file naming",
        "    only the boxes that are on or off; /force replaces one.",
        "quillonc UNDO    [FOLDER] [/scope PART] [/undodir DIR] [/wait SECONDS]",
        "    Restores an undo record (default: the newest of this computer and user",
        "    not yet undone). Refuses a folder that is no record or another computer's.",
        "quillonc UNDO    /list [/computer NAME] [/user NAME] [/scope PART] [/undodir DIR]",
        "    Every record: folder, time, computer, user, kind, pages, changes, and open,",
        "    undone or partly undone.",
        "quillonc UNDO    /show FOLDER [/undodir DIR]",
        "    A record's changes in APPLY's fields, and what failed or a restore kept.",
        "quillonc SUMMARY FOLDER [/json]",
        "    The fleet's drift from a report folder: per box and control, how many machines",
        "    are ok, drift or lack it, and which drifts. Exit 0 none drifts, 1 some do.",
        "quillonc VERSION",
        "    The version line above.",
        "quillonc /?",
        "    This help.",
        "",
        "NAME is System, Security, Services or Speed (STATUS: the first three).",
        "FILE defaults to setup.dat beside quillonc.exe; pages default to all four.",
        "DIR defaults to Quillon\\undo in the application data of all users.",
        "PART is machine (HKLM, services, files, tools) or user (HKCU): only that part is changed.",
        "LIST is box numbers and service names, comma-separated (54,59,Alerter): only",
        "those boxes are applied, each on the side given; nothing else is written.",
        "A boxes file holds the same, one a line (on 54, off Alerter, Combo2 0, lstHide C,D);",
        "a ; after a blank begins a comment; txtPath \"C:\\a ;b\" quotes a folder holding one.",
        "Every verb but LIST waits for another Quillon run to end, up to /wait SECONDS (300),",
        "then exits 2.",
        "CHECK, APPLY and UNDO end with a summary line: summary, drift or changed N, ..., the undo folder",
        "or none; /json prints one JSON document of the run instead of the lines.",
        "/report FILE (STATUS, CHECK, APPLY, UNDO) appends a row per box and a summary row",
        "to FILE, CSV in UTF-8, under a lock on the file, so many machines can share one;",
        "/report FOLDER\\ (ending in a backslash) replaces FOLDER\\COMPUTER.csv each run.",
        "Output: one line per box or change, fields separated by a tab.",
        "Exit status: 0 done, 1 some steps failed (CHECK: drifted), 2 bad usage, bad selection file",
        "or another run still going on,",
        "3 no undo record could be written, 4 the /report file stayed in use by another program.",
    };
}

}  // namespace quillon::console
