#pragma once
// Stands in for the live selection until it lands beside the catalogue.
#include <string>

#include "engine/Form.h"

namespace quillon {

class Platform;

// The machine's live state on a form: boxes ticked when on, the download
// folder, drive lists, combo boxes and option as the machine has them.
void PutLiveSelection(Form& form, Platform& machine, const std::string& userName);

}  // namespace quillon
