#include "restore/Restore.h"

#include <algorithm>
#include <set>

#include "engine/Commands.h"
#include "engine/RunStack.h"
#include "engine/RegistryWriter.h"
#include "restore/RecordCheck.h"
#include "record/RecordChanges.h"
#include "record/RecordState.h"
#include "record/RecordStore.h"
#include "effects/MachineView.h"
#include "effects/RegScript.h"
#include "platform/RegistryPath.h"
#include "platform/Platform.h"
#include "platform/TextMatch.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

constexpr const char* kChangedSince = "changed since the run";
constexpr const char* kRunEnded = "the run ended during this change";

// Some registry tools give a key they make an empty default value: a key
// holding only that holds nothing put there since the run.
bool HoldsNothingOfItsOwn(const std::vector<NamedRegValue>& values) {
    if (values.empty()) return true;
    const NamedRegValue& only = values.front();
    return values.size() == 1 && only.name.empty() && only.value.type == reg_type::String &&
           PlainText(only.value).value_or("-").empty();
}

std::string ValuePath(const ValueTarget& v) { return v.key + "\\" + (v.name.empty() ? "(Default)" : v.name); }

// "C:\x\Name.lnk" -> "C:\x\Name (restored).lnk", then " (restored 2)" and on.
std::string Beside(const std::string& path, int n) {
    const std::string mark = n == 1 ? " (restored)" : " (restored " + std::to_string(n) + ")";
    const auto slash = path.find_last_of('\\');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == path.size() - 1)
        return path + mark;
    return path.substr(0, dot) + mark + path.substr(dot);
}

// The service whose start mode a value is, when "sc config" can put it back:
// auto, demand or disabled. Boot and system are drivers' modes, which sc
// refuses for a service (error 87); such a value set by hand goes back through
// the script, as one of no known mode does.
std::string ServiceOf(const ValueTarget& v) {
    const std::string name = ServiceOfStartValue(v.key, v.name);
    if (name.empty() || !v.before) return {};
    const auto mode = DwordOf(*v.before);
    if (!mode || *mode < 2 || StartModeName(*mode).empty()) return {};
    return name;
}

void AddValue(std::vector<std::string>& script, const std::string& key, const std::string& name,
              const std::optional<RegValue>& value) {
    script.push_back(ScriptSection(key));
    // Long hex data is continued over lines of its own.
    const std::string line = ScriptValueLine(name, value);
    std::size_t start = 0;
    for (std::size_t end; (end = line.find("\r\n", start)) != std::string::npos; start = end + 2)
        script.push_back(line.substr(start, end - start));
    script.push_back(line.substr(start));
}

class Restorer {
public:
    Restorer(Platform& machine, JournalPlatform& journal, std::string folder, RestoreReport& report)
        : machine_(machine), journal_(journal), folder_(std::move(folder)), report_(report) {}

    void registry(const RecordState& state) {
        std::vector<const ValueTarget*> put, services;
        for (const ValueTarget& v : state.values) {
            const auto now = machine_.registryValue(v.key, v.name);
            if (now == v.before) continue;
            if (!v.after || now != *v.after) {
                keep(ValuePath(v), kChangedSince);
                keptValues_.insert(Lower(ValuePath(v)));
                continue;
            }
            // Its tool may have written it, or something else may have: not demonstrably the run's.
            if (v.uncertain) {
                keep(ValuePath(v), kRunEnded);
                continue;
            }
            (ServiceOf(v).empty() ? put : services).push_back(&v);
        }
        std::vector<const KeyTarget*> made;
        for (const KeyTarget& k : state.keys)
            if (k.before && k.after == false && !machine_.registryKeyExists(k.key)) made.push_back(&k);

        std::vector<std::string> script;
        for (const KeyTarget* k : made) script.push_back(ScriptSection(k->key));
        for (const ValueTarget* v : put) AddValue(script, v->key, v->name, v->before);
        if (!script.empty()) import(script);
        for (const KeyTarget* k : made) count(machine_.registryKeyExists(k->key), k->key);
        // A value the import left as neither what it was nor what it found
        // (a tool that wrote it otherwise) gets back what it found: a restore
        // never leaves a value worse than it found it.
        std::vector<std::string> back;
        for (const ValueTarget* v : put) {
            const auto now = machine_.registryValue(v->key, v->name);
            count(now == v->before, ValuePath(*v));
            if (now != v->before && now != *v->after) AddValue(back, v->key, v->name, *v->after);
        }
        if (!back.empty()) import(back);

        for (const ValueTarget* v : services) {
            attempt([&] {
                RunHiddenCommandAndWait(journal_, "sc \\\\. config " + ServiceOf(*v) + " start= " +
                                                      StartModeName(*DwordOf(*v->before)));
            });
            count(machine_.registryValue(v->key, v->name) == v->before, ValuePath(*v));
        }
        removeMadeKeys(state);
    }

    void files(const RecordState& state) {
        for (const FileTarget& f : state.files) {
            const bool present = machine_.anyFileExists(f.path);
            if (f.before) {
                if (f.copy.empty()) {
                    if (!present) note("not kept, cannot be put back: " + f.path);
                    continue;
                }
                const std::string copy = folder_ + "\\" + f.copy;
                if (!present && f.after == false) {
                    attempt([&] { putBack(copy, f.path); });
                    count(machine_.anyFileExists(f.path), f.path);
                    continue;
                }
                if (!present) {
                    keep(f.path, kChangedSince);
                    continue;
                }
                if (machine_.readFileBytes(f.path) == machine_.readFileBytes(copy)) continue;
                keep(f.path, kChangedSince);
                besideCopy(copy, f.path);
            } else if (present) {
                if (f.after == true && ContentDigest(machine_.readFileBytes(f.path)) == f.digest) {
                    attempt([&] { journal_.deleteFile(f.path); });
                    count(!machine_.anyFileExists(f.path), f.path);
                } else {
                    keep(f.path, kChangedSince);
                }
            }
        }
    }

    void folders(const RecordState& state) {
        for (const FolderTarget& f : state.folders) {
            const bool present = machine_.directoryExists(f.path);
            if (present == f.before) continue;
            if (f.after != present) {
                keep(f.path, kChangedSince);
            } else if (f.before) {
                attempt([&] { MakeFolders(f.path); });
                count(machine_.directoryExists(f.path), f.path);
            } else {
                try {
                    journal_.removeEmptyDirectory(f.path);
                    ++report_.restored;
                } catch (const PlatformError&) {
                    if (machine_.directoryExists(f.path)) keep(f.path, "holds what was put there since the run");
                    else ++report_.restored;
                }
            }
        }
    }

private:
    // A key the run made goes only when nothing else is left in it, deepest first.
    void removeMadeKeys(const RecordState& state) {
        std::vector<std::string> made;
        for (const KeyTarget& k : state.keys)
            if (!k.before && machine_.registryKeyExists(k.key)) made.push_back(k.key);
        std::sort(made.begin(), made.end(), [](const std::string& a, const std::string& b) {
            return std::count(a.begin(), a.end(), '\\') > std::count(b.begin(), b.end(), '\\');
        });
        std::set<std::string> going, staying;
        std::vector<std::string> script;
        for (const std::string& key : made) {
            const std::vector<NamedRegValue> values = machine_.registryValues(key);
            bool empty = HoldsNothingOfItsOwn(values);
            // A value kept as changed since the run is named already; its key is not named again for it.
            bool onlyKept = empty || std::all_of(values.begin(), values.end(), [&](const NamedRegValue& v) {
                return keptValues_.count(Lower(key + "\\" + (v.name.empty() ? "(Default)" : v.name))) > 0;
            });
            for (const std::string& sub : machine_.registrySubkeys(key)) {
                const std::string path = Lower(key + "\\" + sub);
                empty = empty && going.count(path);
                onlyKept = onlyKept && (going.count(path) || staying.count(path));
            }
            if (!empty) {
                // A parent stays with the key kept below it; only what was put there since is named.
                if (!onlyKept) keep(key, "holds values or keys put there since the run");
                staying.insert(Lower(key));
                continue;
            }
            going.insert(Lower(key));
            script.push_back(ScriptSection(key, true));
        }
        if (script.empty()) return;
        import(script);
        for (const std::string& key : made)
            if (going.count(Lower(key))) count(!machine_.registryKeyExists(key), key);
    }

    void import(const std::vector<std::string>& script) {
        attempt([&] { ImportScript(journal_, script); });
    }

    void putBack(const std::string& copy, const std::string& path) {
        MakeFolders(ParentPath(path));
        // On the disk before the record is marked undone.
        journal_.copyFileFlushed(copy, path);
    }

    // The kept copy goes beside a file made since under the same name, never over it.
    void besideCopy(const std::string& copy, const std::string& path) {
        const std::string kept = machine_.readFileBytes(copy);
        for (int n = 1; n < 1000; ++n) {
            const std::string target = Beside(path, n);
            if (machine_.anyFileExists(target)) {
                if (machine_.readFileBytes(target) == kept) return;  // put there by an earlier restore
                continue;
            }
            bool done = false;
            attempt([&] { journal_.copyFileFlushed(copy, target), done = true; });
            if (done) note("the copy of " + path + " was put back as " + target);
            count(done, path);
            return;
        }
        count(false, path);
    }

    void MakeFolders(const std::string& path) {
        if (path.empty() || machine_.directoryExists(path)) return;
        MakeFolders(ParentPath(path));
        journal_.createDirectory(path);
    }

    template <class Action>
    void attempt(Action&& action) {
        try {
            action();
        } catch (const PlatformError&) {
            // Counted when the target is read back.
        }
    }

    void count(bool done, const std::string& target) {
        if (done) ++report_.restored;
        else ++report_.failed, note("could not be put back: " + target);
    }
    // What the report names is shown, never raw: no name breaks its line.
    void keep(const std::string& target, const std::string& why) { report_.kept.push_back({Printable(target), why, {}}); }
    void note(const std::string& text) { report_.notes.push_back(Printable(text)); }

    Platform& machine_;
    JournalPlatform& journal_;
    std::string folder_;
    RestoreReport& report_;
    std::set<std::string> keptValues_;  // lower case "KEY\NAME" of each value kept as changed since
};

}  // namespace

namespace {

// The part a state line belongs to; a file or folder is the machine's. A
// tool's start and end marks belong to both: they say which lines were certain.
std::optional<TargetScope> PartOf(const StateLine& line) {
    switch (line.kind) {
    case StateKind::Value:
    case StateKind::Key:
    case StateKind::Tree: return ScopeOf({TargetKind::Key, line.target, {}});
    case StateKind::Change:
    case StateKind::Failed: return ScopeOf({line.changed, line.target, line.name});
    case StateKind::File:
    case StateKind::Folder: return TargetScope::Machine;
    case StateKind::Tool:
    case StateKind::Ended: break;
    }
    return std::nullopt;
}

RestoreReport Restore(Platform& machine, const std::string& folder, const RecordHeader& header,
                      const std::string& computer, const std::string& user, std::optional<TargetScope> part) {
    // Everything is read and checked before the first change.
    RecordContents record = ReadRecord(machine, folder);
    if (part) {
        std::erase_if(record.lines, [&](const StateLine& line) {
            const auto of = PartOf(line);
            return of && *of != *part;
        });
        std::erase_if(record.script, [&](const Effect& e) { return ScopeOf(TargetOf(e)) != *part; });
    }
    CheckRecord(machine, record, header, computer, user);
    const RecordState state = BuildRecordState(record.lines);

    // Each change is put back in the name of the step that made it, so the
    // restore's own record tells the same pages and boxes.
    const std::vector<Change> changes = RecordedChanges(record.lines);
    RunStack stack(machine);
    JournalPlatform& journal = stack.stack<JournalPlatform>(ParentPath(folder), [&changes](const Effect& effect) {
        const std::vector<StepTag> steps = StepsOf(changes, TargetOf(effect));
        StepTag undo;
        undo.control = KnownStepControl("undo");
        return steps.empty() ? undo : steps.front();
    });
    journal.keepRecord(folder);  // still to be marked as undone
    RestoreReport report;
    Restorer restorer(machine, journal, folder, report);
    restorer.registry(state);
    restorer.files(state);
    restorer.folders(state);
    // What stays as it is is named in the restore's own record, with the steps its change came from.
    for (KeptTarget& kept : report.kept) {
        kept.steps = StepsOfNamed(changes, kept.target);
        journal.logKept(StepFields(kept.steps), kept.target, kept.why);
    }
    report.undoFolder = journal.finish();
    report.effects = journal.effects();
    // A tool may say it wrote and not have: only what the machine holds now counts as done.
    PlatformView view(machine);
    for (RecordedEffect& e : report.effects)
        if (e.changes && !e.failed && Assess(e.effect, view).changes)
            e.failed = true, e.reason = "the machine does not hold it after the tool ended";
    return report;
}

}  // namespace

RestoreReport RestoreRecord(Platform& machine, const std::string& folder, const RecordHeader& header,
                            const std::string& computer, const std::string& user) {
    return Restore(machine, folder, header, computer, user, std::nullopt);
}

bool RecordHoldsPart(Platform& machine, const std::string& folder, TargetScope part) {
    try {
        const RecordContents record = ReadRecord(machine, folder);
        return std::any_of(record.lines.begin(), record.lines.end(),
                           [&](const StateLine& line) { return PartOf(line) == part; });
    } catch (const PlatformError&) {
        return false;
    }
}

RestoreReport RestoreRecordPart(Platform& machine, const std::string& folder, const RecordHeader& header,
                                const std::string& computer, const std::string& user, TargetScope part) {
    return Restore(machine, folder, header, computer, user, part);
}

RestoreReport RestoreRecord(Platform& machine, const std::string& folder) {
    const auto header = ReadRecordHeader(machine, folder);
    if (!header) throw RecordRefused("no undo record in " + folder);
    return RestoreRecord(machine, folder, *header, machine.computerName(), machine.userName());
}

}  // namespace quillon
