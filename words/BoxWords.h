#pragma once
// The words the window shows beside its tweak controls, kept apart from where
// the window places them: the console, the preview and the docs print the
// same words, and neither of them has a window.
#include <array>
#include <string_view>

#include "engine/Form.h"

namespace quillon::words {

struct BoxWords {
    std::string_view caption;  // UTF-8, as the label beside the box shows it
    Page page;                 // the page the box is on
    std::string_view english = {};  // for a caption not in English: what it says
};

// By box index, 0 to 76.
inline constexpr std::array<BoxWords, kCheckBoxCount> kBoxes{{
    {"Hide <General>", Page::Security},
    {"Hide <Security>", Page::Security},
    {"Hide <Privacy>", Page::Security},
    {"Hide <Content>", Page::Security},
    {"Hide [Connections]", Page::Security},
    {"Hide [Programs]", Page::Security},
    {"Hide [Advanced]", Page::Security},
    {"Disabled [Open]", Page::Security},
    {"Disabled [Save As]", Page::Security},
    {"Disabled [Favorites]", Page::Security},
    {"Disabled [Options]", Page::Security},
    {"Disabled RightButton", Page::Security},
    {"Disabled download", Page::Security},
    {"Disabled [New]", Page::Security},
    {"Hide [Themes]", Page::Security},
    {"Hide [Desktop]", Page::Security},
    {"Hide [Screen Saver]", Page::Security},
    {"Disabled [Background]", Page::Security},
    {"Disabled Screen Saver", Page::Security},
    {"Hide [Run]", Page::Security},
    {"Hide [Search]", Page::Security},
    {"Hide [Settings]", Page::Security},
    {"Hide [Documents]", Page::Security},
    {"Hide [Help and Support]", Page::Security},
    {"Disabled Control Panel", Page::Security},
    {"Disabled Taskmgr", Page::Security},
    {"Disabled RightButton Menu", Page::Security},
    {"Disabled Add or Remove Programs", Page::Security},
    {"Disabled showing Control Panel", Page::Security},
    {"Forbid Change Password", Page::Security},
    {"Delete [My Computer]", Page::Security},
    {"Hide [File] menu", Page::Security},
    {"Delete Start Menu [Windows Catalog.Update] etc.", Page::Security},
    {"Disabled Start Menu Right Button", Page::Security},
    {"Disabled [Taskbar and Start Menu]", Page::Security},
    {"禁止从IE里访问盘符", Page::Security, "Forbid access to drives from IE"},
    {"Hide [My Network Places]", Page::Security},
    {"Hide [Recycle Bin]", Page::Security},
    {"Hide [Manage]", Page::Security},
    {"Disabled safe mode", Page::Security},
    {"Hide [Folder Options]", Page::Security},
    {"Remove System Backup[200MB-300MB]", Page::Speed},
    {"Remove Drivers Backup[80MB]", Page::Speed},
    {"Fast close error programs", Page::System},
    {"Auto close error programs", Page::System},
    {"Remove Update Install Files[200MB]", Page::Speed},
    {"Remove Help Files[40MB]", Page::Speed},
    {"Optimize adjoin files", Page::System},
    {"Close auto debug", Page::System},
    {"Auto clean no use DLLs", Page::System},
    {"Completely deleting files", Page::System},
    {"Forbid to group similar taskbar buttons", Page::System},
    {"Remove Redundancy IME[84MB]", Page::Speed},
    {"Forbid to hide inactive icons", Page::System},
    {"Reset PC when fatal errors", Page::System},
    {"Use Big Cache(512M memory recommand)", Page::System},
    {"Adjust for best performance of", Page::System},
    {"Turn off Remote Assistance", Page::System},
    {"Turn off error report", Page::System},
    {"Forbid Desktop Clean Wizard", Page::System},
    {"Forbid automatic updating", Page::System},
    {"Use classic start menu", Page::System},
    {"Forbid Accessibility Keys", Page::System},
    {"Close Windows Firewall", Page::System},
    {"Always classic login", Page::System},
    {"Turn off automatic updating", Page::System},
    {"Close errors and debug info", Page::System},
    {"Turn off system restore", Page::System},
    {"Forbid Windows Media Player to update", Page::System},
    {"Hide Login/Logoff/Shutdown Status", Page::System},
    {"Clean pagefiles before shutdown", Page::System},
    {"Accelerate Shutdown", Page::System},
    {"Turn off Virtual memory", Page::System},
    {"Accelerate menus", Page::System},
    {"Shorten scandisk time", Page::System},
    {"Optimize 2 level cache", Page::System},
    {"Optimize Start Menu", Page::System},}};

// Opt 0 to 4, the second-level cache size.
inline constexpr std::array<std::string_view, kOptionCount> kOptionCaptions{"64K", "128K", "256K", "512K",
                                                                           "1MB or more"};

// The items of Combo2 and Combo3, by Combo.
inline constexpr std::array<std::array<std::string_view, 2>, 2> kComboItems{{
    {"Preread Applacations", "Starting Preread"},
    {"Applications", "Background-Services"},
}};

// The labels over the controls that are not boxes.
inline constexpr std::string_view kPrereadLabel = "Preread Setting";          // over Combo2
inline constexpr std::string_view kDownloadLabel = "Download File Path Set:";  // over txtPath
inline constexpr std::string_view kHideDriveLabel = "Hide Drive:";             // over lstHide
inline constexpr std::string_view kNotDriveLabel = "Disabled Drive:";          // over lstNot

}  // namespace quillon::words
