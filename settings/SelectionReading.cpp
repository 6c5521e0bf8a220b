#include "settings/SelectionReading.h"

#include <charconv>
#include <climits>
#include <string_view>

namespace quillon {
namespace {

constexpr int kLineCount = 8;

// Throws the problem of one line; caught once at the top.
struct Refusal {
    SelectionProblem problem;
};

[[noreturn]] void Refuse(int line, std::string reason) { throw Refusal{{line, std::move(reason)}}; }

// Length of the UTF-8 sequence at `at`, or 0 when it is not one (overlong
// forms, surrogates and code points past U+10FFFF are not).
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at);
    if (first < 0x80) return 1;
    std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC2 ? 2 : 0;
    if (length == 0 || first > 0xF4 || at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    const unsigned char second = byte(at + 1);
    if (first == 0xE0 && second < 0xA0) return 0;                   // overlong
    if (first == 0xED && second >= 0xA0) return 0;                  // surrogate
    if (first == 0xF0 && second < 0x90) return 0;                   // overlong
    if (first == 0xF4 && second >= 0x90) return 0;                  // past U+10FFFF
    if (first == 0xC2 && second < 0xA0) return 0;                   // C1 control character
    return length;
}

// A line holds only printable text: no control character of any kind (a
// carriage return, NUL, escape or tab would be written on silently or cut
// the value short), and nothing that is not text.
void CheckText(const std::string& line, int number) {
    for (std::size_t at = 0; at < line.size();) {
        const unsigned char c = static_cast<unsigned char>(line[at]);
        if (c < 0x20 || c == 0x7F) {
            const char* names[] = {"NUL", "a control character", "a tab", "a carriage return", "an escape"};
            const char* name = c == 0 ? names[0] : c == '\t' ? names[2] : c == '\r' ? names[3] : c == 0x1B ? names[4] : names[1];
            Refuse(number, "character " + std::to_string(at + 1) + " is " + name);
        }
        const std::size_t length = Utf8Length(line, at);
        if (length == 0) Refuse(number, "character " + std::to_string(at + 1) + " is not valid text");
        at += length;
    }
}

class Reader {
public:
    Reader(const std::vector<std::string>& lines, SelectionRules rules, SelectionReading& out)
        : lines_(lines), strict_(rules == SelectionRules::Strict), out_(out) {}

    void read() {
        SavedSelection& s = out_.selection;
        readBoxes();
        s.option = number(2, 0, kOptionCount - 1);
        s.prefetch = number(3, -1, strict_ ? 1 : INT_MAX);
        s.priority = number(4, -1, strict_ ? 1 : INT_MAX);
        s.downloadPath = std::string(field(5));
        ++out_.fields;
        s.hide = flags<kDriveCount>(6);
        s.deny = flags<kDriveCount>(7);
        s.services = flags<kServiceCount>(8);
    }

private:
    std::string_view field(int line) {
        if (line > static_cast<int>(lines_.size())) Refuse(line, "the line is missing (the file has eight lines)");
        const std::string& text = lines_[line - 1];
        if (text.size() < 2 || text.front() != '"' || text.back() != '"')
            Refuse(line, "the field is not between double quotes");
        std::string_view field(text);
        field = field.substr(1, field.size() - 2);
        if (strict_ && field.find('"') != std::string_view::npos) Refuse(line, "the field holds a double quote");
        return field;
    }

    void readBoxes() {
        const std::string_view boxes = field(1);
        if (strict_ && boxes.size() != kCheckBoxCount)
            Refuse(1, "expected 77 characters 0, 1 or 2, found " + std::to_string(boxes.size()));
        for (std::size_t i = 0; i < kCheckBoxCount && i < boxes.size(); ++i) {
            if (boxes[i] < '0' || boxes[i] > '2') Refuse(1, "character " + std::to_string(i + 1) + " is not 0, 1 or 2");
            out_.selection.boxes[i] = boxes[i] - '0';
            out_.boxes = static_cast<int>(i) + 1;
        }
        if (out_.boxes < kCheckBoxCount) Refuse(1, "the line holds fewer than 77 boxes");
        ++out_.fields;
    }

    int number(int line, int lowest, int highest) {
        const std::string_view text = field(line);
        int value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < lowest ||
            value > highest)
            Refuse(line, "expected a number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
                             ", found \"" + std::string(text) + "\"");
        ++out_.fields;
        return value;
    }

    template <std::size_t N>
    std::array<bool, N> flags(int line) {
        const std::string_view text = field(line);
        if (strict_ && text.size() != N)
            Refuse(line, "expected " + std::to_string(N) + " characters 0 or 1, found " + std::to_string(text.size()));
        std::array<bool, N> marks{};
        for (std::size_t i = 0; i < N && i < text.size(); ++i) {
            if (strict_ && text[i] != '0' && text[i] != '1')
                Refuse(line, "character " + std::to_string(i + 1) + " is not 0 or 1");
            marks[i] = text[i] == '1';
        }
        ++out_.fields;
        return marks;
    }

    const std::vector<std::string>& lines_;
    bool strict_;
    SelectionReading& out_;
};

}  // namespace

SelectionReading ReadSelectionLines(const std::vector<std::string>& given, SelectionRules rules) {
    SelectionReading out;
    std::vector<std::string> lines = given;
    try {
        if (rules == SelectionRules::Strict) {
            for (std::size_t i = 0; i < lines.size() && i <= kLineCount; ++i) CheckText(lines[i], static_cast<int>(i) + 1);
            // A last line ended by CR LF reads back as one empty line more.
            while (lines.size() > kLineCount && lines.back().empty()) lines.pop_back();
            if (lines.size() > kLineCount) Refuse(kLineCount + 1, "the file has more than eight lines");
            if (lines.size() < kLineCount)
                Refuse(static_cast<int>(lines.size()) + 1, "the line is missing (the file has eight lines)");
        }
        Reader(lines, rules, out).read();
    } catch (const Refusal& refusal) {
        out.problem = refusal.problem;
    }
    return out;
}

std::optional<std::string> TextProblem(const std::string& line) {
    try {
        CheckText(line, 0);
    } catch (const Refusal& refusal) {
        return refusal.problem.reason;
    }
    return std::nullopt;
}

}  // namespace quillon
