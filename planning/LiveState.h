#pragma once
// The machine's state per box: the plans of "everything ticked" and of
// "nothing ticked" compared with what the machine has now.
#include <span>
#include <string>
#include <vector>

#include "effects/TargetScope.h"
#include "engine/Form.h"

namespace quillon {

class Platform;

enum class BoxState {
    On,
    Off,
    Partial,  // some of its values disagree with both sides
    NotSet,   // none of its values is set: Windows' own default holds
    Absent,   // a service this machine does not have
    Unknown,
};

struct LiveBox {
    Page page = Page::System;
    int box = -1;    // chk index; -1 for a list entry
    int entry = -1;  // lstService position
    BoxState state = BoxState::Unknown;
};

// "on", "off", "partial", "not set", "absent", "unknown".
const char* BoxStateName(BoxState state);

// Every box of the System and Security pages (by chk index) and every entry of
// the Services page (by position): on when every effect of ticking it is in
// place, else off when every effect of unticking it is, partial otherwise
// (neither side wholly in place) unless none of its values is there at all
// (not set), absent for a service the machine lacks, unknown when ticking it
// cannot be read back.
// The boxes that read another control (56 with Combo3, 75 with Opt) are ticked
// with that control as the machine has it.
std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName);
// The same for those of `pages` among the three.
std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName, std::span<const Page> pages);
// The same read on the targets of one part of the machine only: a box that
// touches none of them is left out.
std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName, std::span<const Page> pages,
                               TargetScope scope);

}  // namespace quillon
