#pragma once
#include <span>

#include "engine/Catalogue.h"

namespace quillon {

// The Security page's steps in the order they run: browser, display and
// Start menu, then the other shell restrictions.
std::span<const CatalogueStep> SecurityCatalogue();

}  // namespace quillon
