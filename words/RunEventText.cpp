#include "words/RunEventText.h"

#include <algorithm>

#include "platform/Utf8.h"

namespace quillon {
namespace {

constexpr std::size_t kItemLimit = 300;  // bytes of one item: a long path keeps room for the rest

// Within `limit` bytes, "..." saying where it was cut, never inside a UTF-8 character.
std::string Cut(std::string text, std::size_t limit) {
    if (text.size() <= limit) return text;
    text.resize(CharacterStartAtOrBefore(text, limit - 3));
    return text + "...";
}

// "label: a; b (2); c", each distinct item once with how many times it came,
// within `room` bytes; past it, how many more there were.
std::string ListLine(const std::string& label, const std::vector<std::string>& items, std::size_t room) {
    std::vector<std::pair<std::string, int>> distinct;
    for (const std::string& item : items) {
        auto same = std::find_if(distinct.begin(), distinct.end(), [&](const auto& d) { return d.first == item; });
        if (same != distinct.end()) ++same->second;
        else distinct.emplace_back(item, 1);
    }
    std::string line = label + ":";
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        const auto& [item, times] = distinct[i];
        const std::string piece = (i ? "; " : " ") + Cut(item, kItemLimit) + (times > 1 ? " (" + std::to_string(times) + ")" : "");
        constexpr std::size_t kMoreRoom = 24;  // "; and 12345 more"
        if (line.size() + piece.size() + kMoreRoom > room) return line + "; and " + std::to_string(distinct.size() - i) + " more";
        line += piece;
    }
    return line;
}

}  // namespace

std::string EventItem(const std::vector<std::string>& stepFields) {
    std::string item;
    for (const std::string& field : stepFields)
        if (!field.empty() && field != "-") item += (item.empty() ? "" : " ") + field;
    return item.empty() ? "-" : item;
}

std::string EventText(const RunEventText& event) {
    std::string text = Cut(event.heading, kItemLimit) + "\r\n";
    if (!event.counts.empty()) {
        for (std::size_t i = 0; i < event.counts.size(); ++i)
            text += (i ? ", " : "") + event.counts[i].first + " " + std::to_string(event.counts[i].second);
        text += "\r\n";
    }
    text += "undo record: " + (event.undoFolder.empty() ? std::string("none") : Cut(event.undoFolder, kItemLimit)) + "\r\n";
    // The lists share what is left: the failures first, since they are what someone must act on.
    const auto room = [&](std::size_t shares) { return (kEventTextLimit - std::min(text.size(), kEventTextLimit)) / shares; };
    if (!event.failed.empty()) text += ListLine("failed", event.failed, room(event.changed.empty() ? 2 : 3)) + "\r\n";
    if (!event.changed.empty()) text += ListLine("changed", event.changed, room(2)) + "\r\n";
    for (const std::string& note : event.notes) {
        const std::string line = Cut(note, kItemLimit) + "\r\n";
        if (text.size() + line.size() > kEventTextLimit) break;
        text += line;
    }
    return Cut(text, kEventTextLimit);
}

}  // namespace quillon
