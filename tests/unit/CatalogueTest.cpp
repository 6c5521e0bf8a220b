// Checks on the page catalogues as tables.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "engine/SecurityCatalogue.h"
#include "engine/SystemCatalogue.h"
#include "tests/unit/BoxTable.h"

namespace quillon {
namespace {

struct PageCatalogue {
    const char* name;
    std::span<const CatalogueStep> steps;
    std::set<int> boxes;  // the page's boxes
};

std::vector<PageCatalogue> Pages() {
    std::set<int> system, security;
    for (int box = 0; box < kCheckBoxCount; ++box) {
        if (test::BoxPage(box) == Page::System) system.insert(box);
        if (test::BoxPage(box) == Page::Security) security.insert(box);
    }
    return {{"System", SystemCatalogue(), system}, {"Security", SecurityCatalogue(), security}};
}

bool HasFullRoot(std::string_view key) {
    return key.starts_with("HKEY_LOCAL_MACHINE\\") || key.starts_with("HKEY_CURRENT_USER\\");
}

TEST(Catalogue, EachBoxHasOneStepOnItsOwnPage) {
    for (const PageCatalogue& page : Pages()) {
        std::map<int, int> stretches;  // box -> number of separate runs of rows
        std::optional<int> previous;
        for (const CatalogueStep& step : page.steps) {
            const auto box = BoxOf(step);
            if (box && box != previous) ++stretches[*box];
            previous = box;
        }
        for (auto [box, count] : stretches) {
            EXPECT_EQ(count, 1) << page.name << " box " << box << " appears in separate places";
            EXPECT_TRUE(page.boxes.count(box)) << page.name << " box " << box << " belongs to another page";
        }
    }
}

TEST(Catalogue, EveryKeyBeginsWithAFullRootName) {
    for (const PageCatalogue& page : Pages()) {
        for (const CatalogueStep& step : page.steps) {
            if (auto* flag = std::get_if<RegistryFlag>(&step)) {
                EXPECT_TRUE(HasFullRoot(flag->key)) << page.name << ": " << flag->key;
                EXPECT_FALSE(flag->valueName.empty()) << page.name << ": " << flag->key;
            }
            if (auto* toggle = std::get_if<CommandToggle>(&step)) {
                for (auto command : {std::optional(toggle->tickedCommand), toggle->untickedCommand}) {
                    if (!command || !command->starts_with("reg ")) continue;
                    const auto key = command->substr(command->find(' ', 4) + 1);
                    EXPECT_TRUE(HasFullRoot(key)) << page.name << ": " << *command;
                }
            }
        }
    }
}

TEST(Catalogue, ProgressOnlyMovesForwardAndEndsFull) {
    for (const PageCatalogue& page : Pages()) {
        int last = 0;
        for (const CatalogueStep& step : page.steps) {
            if (auto* mark = std::get_if<ProgressMark>(&step)) {
                EXPECT_GT(mark->width, last) << page.name;
                last = mark->width;
            }
        }
        EXPECT_EQ(last, 10905) << page.name;
        EXPECT_TRUE(std::holds_alternative<ProgressMark>(page.steps.back())) << page.name;
    }
}

}  // namespace
}  // namespace quillon
