// The Services phase against Wine's registry, through the sc stand-in that the
// Win32 platform starts from the system folder.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <vector>

#include "engine/Phases.h"
#include "engine/ServiceCatalogue.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/MemoryForm.h"
#include "tests/wine/RegistryRead.h"
#include "tests/wine/StandinCommands.h"

namespace quillon {
namespace {

std::wstring ServiceKey(std::string_view service) {
    return L"SYSTEM\\CurrentControlSet\\Services\\" + win32::Widen(service);
}

void SetStart(const std::wstring& key, std::optional<DWORD> start) {
    win32::UniqueKey handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, handle.put()) != ERROR_SUCCESS) return;
    if (start)
        RegSetValueExW(handle.get(), L"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*start), sizeof(DWORD));
    else
        RegDeleteValueW(handle.get(), L"Start");
}

// Wine knows only a few of these services: the missing keys are made for the
// test and removed after it; the others get their Start value back.
class ServicesPhaseWine : public testing::Test {
protected:
    void SetUp() override {
        for (const ServiceEntry& service : kServices) {
            const std::wstring key = ServiceKey(service.serviceName);
            if (test::KeyExists(HKEY_LOCAL_MACHINE, key)) {
                auto value = test::ReadValue(HKEY_LOCAL_MACHINE, key, L"Start");
                original_.push_back({key, value ? std::optional<DWORD>(value->dword) : std::nullopt});
            } else {
                win32::UniqueKey created;
                ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                          created.put(), nullptr),
                          ERROR_SUCCESS);
                created_.push_back(key);
                SetStart(key, SERVICE_AUTO_START);
            }
        }
        test::ClearStandinCommands();
        form.showOnly(Page::Services);
    }
    void TearDown() override {
        for (const std::wstring& key : created_) test::DeleteTree(HKEY_LOCAL_MACHINE, key);
        for (const auto& [key, start] : original_) SetStart(key, start);
    }

    win32::Win32Platform platform;
    test::MemoryForm form;

private:
    std::vector<std::wstring> created_;
    std::vector<std::pair<std::wstring, std::optional<DWORD>>> original_;
};

TEST_F(ServicesPhaseWine, MixedSelectionLeavesEachStartValueAsTicked) {
    // Spooler, lanmanserver and wuauserv are services Wine really has.
    const std::set<int> ticked{0, 1, 4, 7, 8, 11, 16, 18};
    for (int p : ticked) form.setListSelected(CheckList::Service, p, true);
    RunContext context{form, platform, "Tester"};
    RunServicesPhase(context);

    std::vector<std::string> expectedCommands;
    for (int p = 0; p < static_cast<int>(kServices.size()); ++p) {
        const bool disabled = ticked.count(p) > 0;
        expectedCommands.push_back("sc \\\\. config " + std::string(kServices[p].serviceName) +
                                   (disabled ? " start= disabled" : " start= demand"));
        auto start = test::ReadValue(HKEY_LOCAL_MACHINE, ServiceKey(kServices[p].serviceName), L"Start");
        ASSERT_TRUE(start) << kServices[p].serviceName;
        EXPECT_EQ(start->type, static_cast<DWORD>(REG_DWORD)) << kServices[p].serviceName;
        EXPECT_EQ(start->dword, disabled ? DWORD{SERVICE_DISABLED} : DWORD{SERVICE_DEMAND_START})
            << kServices[p].serviceName;
    }
    EXPECT_EQ(test::StandinCommands(), expectedCommands);
    EXPECT_EQ(form.progressHistory(), (std::vector<int>{1000, 2000, 5000, 10905}));
}

TEST_F(ServicesPhaseWine, StandinRefusesAServiceThatDoesNotExist) {
    const std::wstring key = ServiceKey("QuillonNoSuchService");
    auto process = platform.startHidden("sc \\\\. config QuillonNoSuchService start= disabled");
    ASSERT_TRUE(process->waitPumping(std::chrono::seconds(20)));
    EXPECT_EQ(process->exitCode(), ERROR_SERVICE_DOES_NOT_EXIST);
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, key));
}

}  // namespace
}  // namespace quillon
