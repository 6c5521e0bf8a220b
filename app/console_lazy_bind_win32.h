#pragma once
// Binding a system function when it is first called, for quillonc.exe's
// stand-ins of import-table entries.
#include <windows.h>

namespace quillon::lazy {

template <typename Function>
Function BindFrom(HMODULE module, const char* name) {
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));  // via void(*)(): no type is assumed
}

template <typename Function>
Function Bind(const wchar_t* dll, const char* name) {
    // Known system DLLs: the loader takes them from the system folder only.
    return BindFrom<Function>(LoadLibraryW(dll), name);
}

}  // namespace quillon::lazy

// Defines the import-table entry the linker would otherwise take from the DLL
// (named as the i686 compiler decorates a call through one) as `standIn`.
#define QUILLON_IMPORT_STAND_IN(function, decorated, standIn)                 \
    extern "C" {                                                              \
    extern decltype(&function) const quillonImport##standIn asm(decorated);   \
    decltype(&function) const quillonImport##standIn = standIn;               \
    }
