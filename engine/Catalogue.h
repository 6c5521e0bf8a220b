#pragma once
// A page's tweaks as an ordered list of steps: plain two-sided rows are data,
// steps with logic of their own are named functions in the same sequence.
#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "engine/RegistryFlag.h"
#include "engine/RunContext.h"

namespace quillon {

// A hidden command for each side of a box; nothing on an empty side.
struct CommandToggle {
    int box;
    std::string_view tickedCommand;
    std::optional<std::string_view> untickedCommand;
};

struct ProgressMark {
    int width;  // Shape2 width in twips
};

struct NamedStep {
    std::string_view name;
    void (*run)(RunContext&);  // reads the form itself
    std::array<int, 2> boxes{-1, -1};  // the boxes it reads
    std::string_view control{};        // or the other control it reads
};

using CatalogueStep = std::variant<RegistryFlag, CommandToggle, ProgressMark, NamedStep>;

// The box a row reads, or nothing for progress marks and named steps.
std::optional<int> BoxOf(const CatalogueStep& step);

// Runs the steps in order, each tagged with its box (the page is the
// phase's), each on its own so a failure skips only that one.
// A box is read when its step is reached; rows of one box that stand next to
// each other are one step and share that reading.
void RunCatalogue(RunContext& context, std::span<const CatalogueStep> steps);

}  // namespace quillon
