#include "console/ProgressBar.h"

#include <algorithm>

namespace quillon::console {
namespace {
constexpr int kBarWidth = 30;
constexpr std::size_t kLineWidth = 78;  // one line on an 80-column console
}  // namespace

std::string ProgressLine(double fraction, const std::string& what) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * kBarWidth + 0.5);
    std::string percent = std::to_string(static_cast<int>(fraction * 100 + 0.5)) + "%";
    percent.insert(0, 4 - percent.size(), ' ');
    std::string line = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " + percent;
    if (!what.empty()) line += "  " + what;
    if (line.size() > kLineWidth) line.resize(kLineWidth);
    return line;
}

void ProgressBar::show(double fraction, const std::string& what) {
    if (!terminal_.errIsConsole()) return;
    std::string line = ProgressLine(fraction, what);
    if (line == shown_) return;
    // Blanks cover what a longer earlier line left behind.
    std::string padded = line;
    if (shown_.size() > line.size()) padded += std::string(shown_.size() - line.size(), ' ');
    terminal_.errInPlace(padded);
    shown_ = std::move(line);
}

void ProgressBar::finish() {
    if (shown_.empty()) return;
    terminal_.errInPlace(std::string(shown_.size(), ' '));
    terminal_.errInPlace("");
    shown_.clear();
}

}  // namespace quillon::console
