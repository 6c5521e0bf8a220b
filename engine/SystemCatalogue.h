#pragma once
#include <span>

#include "engine/Catalogue.h"

namespace quillon {

// The System page's steps in the order they run.
std::span<const CatalogueStep> SystemCatalogue();

}  // namespace quillon
