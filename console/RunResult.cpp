#include "console/RunResult.h"

#include <algorithm>
#include <cstdio>

#include "console/Report.h"
#include "platform/Platform.h"

namespace quillon::console {
namespace {

// The character a valid UTF-8 sequence at the start of `text` encodes, with
// its length; length 0 for a byte that begins none (overlong, a surrogate,
// past U+10FFFF, cut short).
char32_t DecodeUtf8(std::string_view text, std::size_t& length) {
    length = 0;
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const std::size_t needed = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (needed == 0 || lead > 0xf4 || text.size() < needed) return 0;
    char32_t code = lead & (0x7f >> needed);
    for (std::size_t k = 1; k < needed; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[k]);
        if ((next & 0xc0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3f);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[needed] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
    length = needed;
    return code;
}

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
    const auto escape = [&](unsigned code) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
        out += escaped;
    };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c == '"' || c == '\\') out += std::string("\\") + static_cast<char>(c);
            else if (c < 0x20 || c == 0x7f) escape(c);
            else out += static_cast<char>(c);
            ++i;
            continue;
        }
        // Only ASCII leaves: a pipe hands standard output over in the console's
        // code page, and \u escapes come through that whole. A byte that begins
        // no valid UTF-8 character is one character the text lost.
        std::size_t length = 0;
        const char32_t code = DecodeUtf8(text.substr(i), length);
        if (length == 0) {
            escape(0xfffd);
            ++i;
            continue;
        }
        if (code > 0xffff) {
            escape(0xd800 + ((code - 0x10000) >> 10));
            escape(0xdc00 + ((code - 0x10000) & 0x3ff));
        } else {
            escape(code);
        }
        i += length;
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
    if (verb.outcome) *verb.outcome = result;
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
