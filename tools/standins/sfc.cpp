// Stand-in for the system file checker under Wine: records its command line.
#include "tools/standins/StandinLog.h"

int wmain() { return standin::LogCommandLine() ? 0 : 1; }
