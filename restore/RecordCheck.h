#pragma once
// A record is input, never a script to obey: it may be damaged, edited or
// planted. Before anything is restored the whole record is read, every file
// of it, and checked against what a run of this program could have touched.
#include <string>
#include <vector>

#include "record/RecordHeader.h"
#include "record/RecordReader.h"

namespace quillon {

// Throws RecordRefused when the record belongs to another computer, holds
// HKEY_CURRENT_USER parts of another user, or holds anything outside: the
// catalogues' keys and their trees, the two Run keys, the Start value of the
// services the program names, file copies from its own files\ folder back
// into a Startup folder, the common Start menu or onto a file a step deletes,
// and the folders a step removes.
void CheckRecord(Platform& machine, const RecordContents& record, const RecordHeader& header,
                 const std::string& computer, const std::string& user);

}  // namespace quillon
