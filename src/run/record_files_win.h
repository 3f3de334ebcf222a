#pragma once
// Where the deletion record lives, and the files it is written to.
#include <memory>
#include <string>

#include "run/deletion_record.h"

namespace kelvaro {

std::unique_ptr<RecordFiles> MakePlatformRecordFiles();

// "Kelvaro\Kelvaro.log" in the user's application-data folder; empty when the system names no such folder.
std::string DeletionRecordPath();

// The local time now, as the record writes it.
LocalTime LocalTimeNow();

}  // namespace kelvaro
