#include "console/RunResult.h"

#include <algorithm>
#include <cstdio>

#include "console/Report.h"
#include "platform/Platform.h"

namespace quillon::console {
namespace {


int Count(const RunResult& result, std::string_view which) {
    return static_cast<int>(std::count_if(result.changes.begin(), result.changes.end(),
                                          [&](const ChangeOutcome& c) { return c.result == which; }));
}

bool Printed(const RunResult& result, const ChangeOutcome& change) {
    return std::find(result.printed.begin(), result.printed.end(), change.result) != result.printed.end();
}

std::string SafeName(Platform& platform, bool computer) {
    try {
        return computer ? platform.computerName() : platform.userName();
    } catch (const PlatformError&) {
        return {};
    }
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else out += c;
    }
    return out + "\"";
}

std::string SummaryLine(const RunResult& result) {
    std::string line = "summary";
    for (std::string_view which : result.counted) line += "\t" + std::string(which) + " " + std::to_string(Count(result, which));
    return line + "\t" + (result.undoFolder && !result.undoFolder->empty() ? *result.undoFolder : "none");
}

std::string JsonDocument(const RunResult& result, VerbContext& verb, int exitStatus) {
    std::string json = "{\"computer\": " + JsonString(SafeName(verb.platform, true)) +
                       ", \"user\": " + JsonString(SafeName(verb.platform, false)) +
                       ", \"time\": " + JsonString(IsoTime(verb.platform.universalTime())) +
                       ", \"verb\": " + JsonString(ReportVerbName(verb.request.verb)) +
                       ", \"exitStatus\": " + std::to_string(exitStatus) + ", \"undo\": " +
                       (result.undoFolder && !result.undoFolder->empty() ? JsonString(*result.undoFolder) : "null") +
                       ", \"summary\": {";
    for (std::size_t i = 0; i < result.counted.size(); ++i)
        json += (i ? ", " : "") + JsonString(result.counted[i]) + ": " + std::to_string(Count(result, result.counted[i]));
    json += "}, \"changes\": [";
    for (const ChangeOutcome& c : result.changes)
        json += std::string(&c == &result.changes.front() ? "\n" : ",\n") + "  {\"page\": " + JsonString(c.pages) +
                ", \"number\": " + JsonString(c.numbers) + ", \"caption\": " + JsonString(c.captions) +
                ", \"target\": " + JsonString(c.what) + ", \"before\": " + JsonString(c.before) + ", \"after\": " + JsonString(c.after) +
                ", \"result\": " + JsonString(c.result) + "}";
    return json + "]}";
}

void PrintResult(VerbContext& verb, const RunResult& result, int exitStatus) {
    if (verb.request.json) {
        verb.terminal.out(JsonDocument(result, verb, exitStatus));
        return;
    }
    for (const ChangeOutcome& c : result.changes)
        if (Printed(result, c)) verb.terminal.out(Tabbed({c.pages, c.numbers, c.captions, c.what, c.before, c.after}));
    if (result.undoFolder) verb.terminal.out(Tabbed({"undo", result.undoFolder->empty() ? "none" : *result.undoFolder}));
    verb.terminal.out(SummaryLine(result));
}

}  // namespace quillon::console
