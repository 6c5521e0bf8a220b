#pragma once
// The System page's steps that are more than one flag.
#include <string_view>

#include "engine/RunContext.h"

namespace quillon {


void ApplyCpuPriority(RunContext& context);    // chk 56 with Combo3
void OptimiseStartMenu(RunContext& context);   // chk 76
void ApplyCacheSize(RunContext& context);      // chk 75 with Opt
void ApplyPrefetch(RunContext& context);       // Combo2, every run

}  // namespace quillon
