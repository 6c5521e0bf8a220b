#include "planning/LiveSelection.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/SecurityKeys.h"
#include "engine/SystemKeys.h"
#include "planning/LiveState.h"
#include "platform/Platform.h"
#include "platform/RegValue.h"

namespace quillon {
namespace {

constexpr std::array kLivePages{Page::System, Page::Security, Page::Services};

bool Covers(std::span<const Page> pages, Page page) { return std::find(pages.begin(), pages.end(), page) != pages.end(); }

std::optional<RegValue> Read(Platform& machine, std::string_view key, const char* name) {
    try {
        return machine.registryValue(std::string(key), name);
    } catch (const PlatformError&) {
        return std::nullopt;  // unreadable: the control keeps what it shows
    }
}

std::optional<std::uint32_t> ReadDword(Platform& machine, std::string_view key, const char* name) {
    const auto value = Read(machine, key, name);
    return value ? DwordOf(*value) : std::nullopt;
}

std::optional<std::string> ReadText(Platform& machine, std::string_view key, const char* name) {
    const auto value = Read(machine, key, name);
    if (!value || value->type != reg_type::String) return std::nullopt;
    return PlainText(*value);
}

void PutDriveList(Form& form, Platform& machine, CheckList list, const char* valueName) {
    const std::uint32_t mask = ReadDword(machine, security_keys::kDrivePolicy, valueName).value_or(0);
    const int count = std::min(kDriveCount, form.listCount(list));
    for (int i = 0; i < count; ++i) form.setListSelected(list, i, (mask >> i) & 1u);
}

// The choice of a two-entry combo box whose data is `first` or `second`.
void PutCombo(Form& form, Combo combo, const std::optional<std::string>& data, std::string_view first,
              std::string_view second) {
    if (data == first) form.setComboIndex(combo, 0);
    else if (data == second) form.setComboIndex(combo, 1);
}

void PutCacheSize(Form& form, Platform& machine) {
    const auto value = Read(machine, system_keys::kMemory, "SecondLevelDataCache");
    if (!value) return;
    // Opt 0 writes a DWORD, the others the digits as text (engine/SystemSteps.cpp).
    constexpr std::array<std::uint32_t, kOptionCount> kSizes{0x40, 0x80, 0x100, 0x200, 0x400};
    constexpr std::array<const char*, kOptionCount> kDigits{"", "00000080", "00000100", "00000200", "00000400"};
    for (int i = 0; i < kOptionCount; ++i) {
        const bool match = i == 0 ? *value == DwordValue(kSizes[0]) : *value == TextValue(reg_type::String, kDigits[i]);
        if (match) return form.selectOpt(i);
    }
}

}  // namespace

std::span<const Page> LivePages() { return kLivePages; }

void PutLiveControls(Form& form, Platform& machine, std::span<const Page> pages) {
    if (Covers(pages, Page::Security)) {
        PutDriveList(form, machine, CheckList::Hide, "NoDrives");
        PutDriveList(form, machine, CheckList::Not, "NoViewOnDrive");
        // Only text the step would write back the same: anything else, and an empty path writes nothing.
        form.setTxtPath(ReadText(machine, security_keys::kIe, "downloadDirectory").value_or(""));
    }
    if (Covers(pages, Page::System)) {
        PutCombo(form, Combo::Prefetch, ReadText(machine, system_keys::kPrefetch, "EnablePrefetcher"), "5", "3");
        const auto priority = ReadDword(machine, system_keys::kBios, "CPUPriority");
        if (priority == 1u) form.setComboIndex(Combo::Priority, 0);
        if (priority == 2u) form.setComboIndex(Combo::Priority, 1);
        PutCacheSize(form, machine);
    }
}

void PutLiveSelection(Form& form, Platform& machine, const std::string& userName, std::span<const Page> pages,
                      PartialBoxes partial) {
    PutLiveControls(form, machine, pages);
    for (const LiveBox& live : LiveState(machine, userName, pages)) {
        if (live.box >= 0) {
            const bool grey = live.state == BoxState::Partial && partial == PartialBoxes::Greyed;
            form.setChk(live.box, live.state == BoxState::On ? kTicked : grey ? kGreyed : kUnticked);
        } else if (live.entry >= 0 && live.entry < form.listCount(CheckList::Service)) {
            form.setListSelected(CheckList::Service, live.entry, live.state == BoxState::On);
        }
    }
}

}  // namespace quillon
