#include "window/UndoDialogText.h"

#include <array>

namespace quillon {
namespace {

std::string Count(int n, const std::string& one, const std::string& many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "System", "System and Security", "System, Security and Services".
std::string Listed(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return out;
}

bool Digits(const std::string& text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    return true;
}

}  // namespace

UndoOutcome OutcomeOf(const RestoreReport& report) {
    UndoOutcome outcome;
    outcome.restored = report.restored;
    outcome.kept = static_cast<int>(report.kept.size());
    outcome.failed = report.failed;
    outcome.recorded = !report.undoFolder.empty();
    return outcome;
}

std::string TimeInWords(const std::string& time) {
    static constexpr std::array<const char*, 12> kMonths{"January", "February", "March",     "April",
                                                         "May",     "June",     "July",      "August",
                                                         "September", "October", "November", "December"};
    if (time.size() < 16 || !Digits(time, 0, 4) || time[4] != '-' || !Digits(time, 5, 2) || time[7] != '-' ||
        !Digits(time, 8, 2) || !Digits(time, 11, 2) || time[13] != ':' || !Digits(time, 14, 2))
        return time;
    const int month = std::stoi(time.substr(5, 2)), day = std::stoi(time.substr(8, 2));
    if (month < 1 || month > 12) return time;
    return std::to_string(day) + " " + kMonths[month - 1] + " " + time.substr(0, 4) + " at " + time.substr(11, 5);
}

std::string UndoQuestion(const UndoOffer& offer) {
    std::string text = "Undo the run of " + (offer.made.empty() ? std::string("an unknown time") : TimeInWords(offer.made));
    if (!offer.user.empty()) text += " by " + offer.user;
    if (!offer.computer.empty()) text += " on " + offer.computer;
    text += "?\n\n";
    if (offer.changes > 0 && !offer.pages.empty())
        text += "It made " + Count(offer.changes, "change", "changes") + " on the " + Listed(offer.pages) +
                (offer.pages.size() == 1 ? " page." : " pages.") + "\n";
    else if (offer.changes > 0)
        text += "It made " + Count(offer.changes, "change", "changes") + ".\n";
    text += std::string(offer.changes > 0 ? "Each" : "What it changed") +
            " is put back as it was before that run; a setting changed since is left as it is.\n";
    if (!offer.lasting.empty()) {
        text += "\nCannot be undone: what these tools did:\n";
        for (const std::string& tool : offer.lasting) text += "    " + tool + "\n";
    }
    return text;
}

std::string UndoReport(const UndoOutcome& outcome) {
    std::string text = "Undo last run has ended.\n\n";
    text += "Put back: " + Count(outcome.restored, "change", "changes") + "\n";
    text += "Kept, because changed since the run: " + std::to_string(outcome.kept) + "\n";
    text += "Failed: " + std::to_string(outcome.failed) + "\n\n";
    text += outcome.recorded ? "This undo can itself be undone with \"Undo last run...\"."
                             : "This undo could keep no undo record of its own.";
    return text;
}

}  // namespace quillon
