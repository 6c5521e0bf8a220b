#include "platform/ScriptEncoding.h"

#include "platform/TextMatch.h"

namespace quillon {

bool HoldsHexText(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::string lower = Lower(line);
        for (const char* form : {"=hex(1):", "=hex(2):", "=hex(7):"})
            if (lower.find(form) != std::string::npos) return true;
    }
    return false;
}

}  // namespace quillon
