#include "planning/LiveSelection.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/SecurityKeys.h"
#include "engine/SystemKeys.h"
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

std::optional<std::array<bool, kDriveCount>> DriveList(Platform& machine, const char* valueName) {
    const auto mask = ReadDword(machine, security_keys::kDrivePolicy, valueName);
    // Bits past Z: no list of drives writes them back.
    if (!mask || (*mask >> kDriveCount) != 0) return std::nullopt;
    std::array<bool, kDriveCount> drives{};
    for (int i = 0; i < kDriveCount; ++i) drives[i] = (*mask >> i) & 1u;
    return drives;
}

void PutDriveList(Form& form, CheckList list, const std::optional<std::array<bool, kDriveCount>>& drives) {
    const int count = std::min(kDriveCount, form.listCount(list));
    for (int i = 0; i < count; ++i) form.setListSelected(list, i, drives && (*drives)[i]);
}

// The choice of a two-entry combo box whose data is `first` or `second`.
std::optional<int> ComboChoice(const std::optional<std::string>& data, std::string_view first, std::string_view second) {
    if (data == first) return 0;
    if (data == second) return 1;
    return std::nullopt;
}

std::optional<int> CacheSizeOption(Platform& machine) {
    const auto value = Read(machine, system_keys::kMemory, "SecondLevelDataCache");
    if (!value) return std::nullopt;
    // Opt 0 writes a DWORD, the others the digits as text (engine/SystemSteps.cpp).
    constexpr std::array<std::uint32_t, kOptionCount> kSizes{0x40, 0x80, 0x100, 0x200, 0x400};
    constexpr std::array<const char*, kOptionCount> kDigits{"", "00000080", "00000100", "00000200", "00000400"};
    for (int i = 0; i < kOptionCount; ++i) {
        const bool match = i == 0 ? *value == DwordValue(kSizes[0]) : *value == TextValue(reg_type::String, kDigits[i]);
        if (match) return i;
    }
    return std::nullopt;
}

}  // namespace

std::span<const Page> LivePages() { return kLivePages; }

LiveControls ReadLiveControls(Platform& machine, std::span<const Page> pages) {
    LiveControls live;
    if (Covers(pages, Page::Security)) {
        live.hide = DriveList(machine, "NoDrives");
        live.deny = DriveList(machine, "NoViewOnDrive");
        // An empty path writes nothing, so only a path that is there is read back.
        const auto path = ReadText(machine, security_keys::kIe, "downloadDirectory");
        if (path && !path->empty()) live.downloadPath = path;
    }
    if (Covers(pages, Page::System)) {
        live.prefetch = ComboChoice(ReadText(machine, system_keys::kPrefetch, "EnablePrefetcher"), "5", "3");
        const auto priority = ReadDword(machine, system_keys::kBios, "CPUPriority");
        if (priority == 1u) live.priority = 0;
        if (priority == 2u) live.priority = 1;
        live.option = CacheSizeOption(machine);
    }
    return live;
}

void PutLiveControls(Form& form, Platform& machine, std::span<const Page> pages) {
    const LiveControls live = ReadLiveControls(machine, pages);
    if (Covers(pages, Page::Security)) {
        PutDriveList(form, CheckList::Hide, live.hide);
        PutDriveList(form, CheckList::Not, live.deny);
        // Only text the step would write back the same: anything else, and an empty path writes nothing.
        form.setTxtPath(live.downloadPath.value_or(""));
    }
    if (live.prefetch) form.setComboIndex(Combo::Prefetch, *live.prefetch);
    if (live.priority) form.setComboIndex(Combo::Priority, *live.priority);
    if (live.option) form.selectOpt(*live.option);
}

std::vector<LiveBox> PutLiveSelection(Form& form, Platform& machine, const std::string& userName,
                                      std::span<const Page> pages, PartialBoxes partial) {
    PutLiveControls(form, machine, pages);
    std::vector<LiveBox> states = LiveState(machine, userName, pages);
    for (const LiveBox& live : states) {
        // What cannot be read says nothing against the tick the user gave it.
        if (live.state == BoxState::Unknown) continue;
        if (live.box >= 0) {
            const bool grey = live.state == BoxState::Partial && partial == PartialBoxes::Greyed;
            form.setChk(live.box, live.state == BoxState::On ? kTicked : grey ? kGreyed : kUnticked);
        } else if (live.entry >= 0 && live.entry < form.listCount(CheckList::Service)) {
            form.setListSelected(CheckList::Service, live.entry, live.state == BoxState::On);
            form.setListGreyed(CheckList::Service, live.entry, live.state == BoxState::Absent);
        }
    }
    return states;
}

}  // namespace quillon
