#include "window/UndoDialogText.h"

#include <algorithm>
#include <array>

#include "record/RecordFiles.h"

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

std::string WhenMade(const UndoOffer& offer) {
    return offer.made.empty() ? std::string("an unknown time") : TimeInWords(offer.made);
}

}  // namespace

UndoOutcome OutcomeOf(const RestoreReport& report) {
    UndoOutcome outcome;
    outcome.restored = report.restored;
    outcome.kept = static_cast<int>(report.kept.size());
    outcome.failed = report.failed;
    outcome.recorded = !report.undoFolder.empty();
    outcome.recordName = report.undoFolder.substr(report.undoFolder.find_last_of('\\') + 1);
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
    // Only this computer's and this user's records are offered: naming them says nothing.
    std::string text = "Undo the run of " + WhenMade(offer) + "?\n\n";
    if (offer.changes > 0 && !offer.pages.empty())
        text += "It made " + Count(offer.changes, "change", "changes") + " on the " + Listed(offer.pages) +
                (offer.pages.size() == 1 ? " page." : " pages.") + "\n";
    else if (offer.changes > 0)
        text += "It made " + Count(offer.changes, "change", "changes") + ".\n";
    if (!offer.failed.empty()) {
        // A few names say enough; the record's list of changes names every one.
        constexpr std::size_t kNamed = 3;
        std::vector<std::string> named(offer.failed.begin(), offer.failed.begin() + std::min(offer.failed.size(), kNamed));
        if (offer.failed.size() > kNamed) named.push_back(std::to_string(offer.failed.size() - kNamed) + " more");
        text += Count(static_cast<int>(offer.failed.size()), "step", "steps") + " of it failed: " + Listed(named) + ".\n";
    }
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
    // Counted by what was put back, not by the run's changes the question
    // counted: a deleted key comes back with each of its values, and a key the
    // run made goes again.
    text += outcome.restored > 0
                ? "Put back as they were: " + std::to_string(outcome.restored) +
                      (outcome.restored == 1 ? " value, key or file" : " values, keys and files") + "\n"
                : std::string("Nothing was put back.\n");
    if (outcome.kept > 0) text += "Kept, because changed since the run: " + std::to_string(outcome.kept) + "\n";
    if (outcome.failed > 0) text += "Failed: " + std::to_string(outcome.failed) + "\n";
    text += "\n";
    // "Undo last run..." never offers a restore's own record; the console takes it when named.
    if (!outcome.recorded) text += "This undo could keep no undo record of its own.";
    else text += "To take this undo back, run: quillonc UNDO \"" + outcome.recordName + "\"";
    return text;
}

std::string ReasonInWords(const std::string& reason) {
    std::string text = reason;
    const std::string damaged = std::string(kStateFile) + " line ";
    if (text.rfind(damaged, 0) == 0 && text.ends_with(" is damaged"))
        text = "its list of changes is damaged at line " +
               text.substr(damaged.size(), text.size() - damaged.size() - std::string(" is damaged").size());
    if (text.empty()) text = "it cannot be read";
    if (text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    if (text.back() != '.') text += '.';
    return text;
}

std::string UndoRefusal(const UndoOffer& offer) {
    std::string reason = ReasonInWords(offer.refused);
    if (reason.rfind("The record ", 0) == 0) reason = "It " + reason.substr(11);
    return "The undo record of " + WhenMade(offer) + " cannot be used, and nothing was changed.\n\n" + reason +
           "\n\nThe record is the folder:\n" + offer.folder;
}

}  // namespace quillon
