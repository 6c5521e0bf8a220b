#pragma once
// SUMMARY FOLDER: the fleet's drift at a glance from a report folder, one
// COMPUTER.csv a machine: per box and control, how many machines are ok,
// drift or lack it, and which drifts they have.
#include <map>
#include <string>
#include <vector>

#include "console/VerbSteps.h"

namespace quillon::console {

// One report file's fields of a row, unquoted, a formula's guarding apostrophe taken off.
std::vector<std::string> CsvFieldsOf(const std::string& line);

struct ItemTally {
    std::string page, number, caption;
    int ok = 0, drift = 0, absent = 0;
    std::map<std::string, int> drifts;  // "now -> wanted" and how many machines have it
    int otherDrifts = 0;                // machines whose drift was past the kinds kept
};

class FleetTally {
public:
    // Counts one machine's file: the rows of its last block. False when it is no report.
    bool add(const std::vector<std::string>& lines);
    int machines() const { return machines_; }
    const std::vector<ItemTally>& items() const { return items_; }

private:
    std::vector<ItemTally> items_;
    std::map<std::string, std::size_t> byItem_;
    int machines_ = 0;
};

int FleetSummary(VerbContext& verb);

}  // namespace quillon::console
