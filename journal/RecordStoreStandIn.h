#pragma once
// STAND-IN, to be replaced by journal/RecordStore.h when it is merged: the
// record folder's header, its making and the pruning of old records, kept as
// small as the journal and its tests need. Swap `standin::` for the store's
// functions of the same names and delete these two files.
#include <optional>
#include <string>

#include "journal/RecordHeader.h"
#include "platform/Platform.h"

namespace quillon::standin {

inline constexpr const char* kHeaderFile = "record.txt";

std::optional<RecordHeader> ReadRecordHeader(Platform& machine, const std::string& folder);
// Makes ROOT\YYYY-MM-DD HH-MM-SS (or " (N)") with its header written first; throws PlatformError.
std::string CreateRecordFolder(Platform& machine, const std::string& root, bool restore);
// Removes records (folders with a header) past the newest `keep`, never `except`.
void PruneRecords(Platform& machine, const std::string& root, int keep, const std::string& except);
// This machine's name, as headers give it; the store's Platform::computerName().
std::string ComputerName(Platform& machine);

}  // namespace quillon::standin
