#pragma once
// Windows command-line quoting, by the rules the C runtime and
// CommandLineToArgvW use to split a command line into arguments.
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Splits a command line into its arguments.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// One argument, quoted so that SplitCommandLine gives back exactly `argument`.
std::string QuoteArgument(std::string_view argument);

}  // namespace quillon
