#pragma once
// setup.dat beside the executable: the user's selection on the five pages,
// eight double-quoted lines. Startup items are never stored.
#include <string>
#include <vector>

namespace quillon {

class Form;
class Platform;

std::string SelectionFilePath(Platform& platform);

// The file's eight lines for what the form holds now.
std::vector<std::string> SelectionLines(const Form& form);

// Replaces setup.dat in one step; throws PlatformError when it cannot.
void SaveSelection(const Form& form, Platform& platform);

// Puts lines back on the form, stopping quietly at the first bad field.
void ApplySelectionLines(Form& form, const std::vector<std::string>& lines);

// Reads setup.dat if there is one; never throws.
void LoadSelection(Form& form, Platform& platform);

}  // namespace quillon
