// The floor for the window's start: a program that registers a class, makes
// one window of the main window's size and place, paints it once in the
// header's colour, and waits to be closed. Built with the same static runtime
// and link options as quillon.exe, started and watched the same way.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH header = CreateSolidBrush(RGB(170, 214, 235));
        FillRect(dc, &paint.rcPaint, header);
        DeleteObject(header);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = L"MinimalWindow";
    if (!RegisterClassW(&type)) return 1;
    const int width = 728, height = 494;  // quillon.exe's window at 96 DPI, centred as it is
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, L"MinimalWindow", L"Minimal window", WS_POPUP | WS_SYSMENU, left,
                                  top, width, height, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
