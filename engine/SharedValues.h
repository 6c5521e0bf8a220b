#pragma once
// Values that more than one box writes. Within one run the ticked side wins:
// a box left unticked does not write such a value while another box of the
// run that writes it on its ticked side stands ticked, whichever comes first.
// Everything else about those boxes stays: their order, their other effects,
// and the unticked side's write when no ticked box of the run shares it.
#include <array>
#include <span>
#include <string_view>

#include "engine/Form.h"

namespace quillon {

struct RunContext;

// A check box, or an entry of the Services list.
struct ValueWriter {
    Page page = Page::System;
    int box = -1;
    int entry = -1;
    constexpr bool none() const { return box < 0 && entry < 0; }
};

struct SharedValue {
    std::string_view key;   // as the catalogues spell it; compared without regard to case
    std::string_view name;
    std::array<ValueWriter, 3> writers;  // those whose ticked side writes it; unused ones are none()
};

std::span<const SharedValue> SharedValues();

// The shared value key\name, if it is one.
const SharedValue* FindSharedValue(std::string_view key, std::string_view name);

// Whether a writer of key\name on a page of this run stands ticked now,
// so the unticked side of another box must leave the value alone.
bool TickedSideHolds(const RunContext& context, std::string_view key, std::string_view name);

// The same for the start mode of a service (its key's Start value).
bool TickedSideHoldsService(const RunContext& context, std::string_view service);

// The service a "sc \\. config NAME start= ..." command line sets; empty for any other command.
std::string_view StartModeService(std::string_view commandLine);

}  // namespace quillon
