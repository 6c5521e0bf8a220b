#pragma once
// "Preview changes...": a resizable window with the plan as a list (page, box
// caption, what, before, after) and a count under it. It only shows; closing
// it changes nothing.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace quillon::win32 {

struct PreviewTable {
    std::string title;
    std::array<std::string, 5> columns;
    std::vector<std::array<std::string, 5>> rows;
    std::string count;  // the line under the list
};

// Shows the table and returns when the window is closed; the owner is
// disabled meanwhile, as under a message box.
void ShowPreviewWindow(HWND owner, const PreviewTable& table);

}  // namespace quillon::win32
