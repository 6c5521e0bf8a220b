#pragma once
// What the console's verbs print, kept for the tests to read.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "console/Terminal.h"

namespace quillon::console {

// The closing summary line is kept apart from the lines before it, for the
// tests that read it; a line after it is a fault every test sees.
struct RecordingTerminal : Terminal {
    std::vector<std::string> outLines, errLines;
    std::vector<std::string> summaryLines;
    bool console = false;
    std::vector<std::string> inPlace;
    void out(std::string_view line) override {
        if (!summaryLines.empty()) ADD_FAILURE() << "a line after the summary line: " << line;
        (line.starts_with("summary\t") ? summaryLines : outLines).emplace_back(line);
    }
    void err(std::string_view line) override { errLines.emplace_back(line); }
    bool errIsConsole() const override { return console; }
    void errInPlace(std::string_view text) override { inPlace.emplace_back(text); }
};

// The tab-separated fields of an output line (or those another separator parts).
inline std::vector<std::string> Fields(const std::string& line, char separator = '\t') {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find(separator, start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

}  // namespace quillon::console
