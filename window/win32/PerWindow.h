#pragma once
// A value kept per window in the program itself, for what a window procedure
// reads on every message: a window property would do, but under Wine each
// read of one is a round trip to the window server. Used on the window's
// own thread only, like the procedures that read it.
#include <windows.h>

#include <unordered_map>

namespace quillon::win32 {

template <class Value>
class PerWindow {
public:
    Value get(HWND window) const {
        const auto found = values_.find(window);
        return found == values_.end() ? Value{} : found->second;
    }
    bool has(HWND window) const { return values_.count(window) != 0; }
    void set(HWND window, Value value) { values_[window] = value; }
    void forget(HWND window) { values_.erase(window); }

private:
    std::unordered_map<HWND, Value> values_;
};

}  // namespace quillon::win32
