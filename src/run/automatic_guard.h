#pragma once
// The guard of unattended runs: a run that would delete far more than the runs before it did (a rule that
// used to find a few dozen temporary files and now reaches a whole documents folder) deletes nothing on its
// own. What the last runs deleted is kept in the registry, newest first.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kelvaro {

struct RunFigures {
    std::int64_t files = 0;
    std::int64_t bytes = 0;
};

inline constexpr std::size_t kHistoryRuns = 5;
inline constexpr std::int64_t kGuardFileFloor = 100;
inline constexpr std::int64_t kGuardByteFloor = 100LL * 1024 * 1024;
inline constexpr std::int64_t kGuardGrowth = 10;

// True when the run must ask first: in files or in bytes it is more than kGuardGrowth times the largest of
// the earlier runs, and in files or in bytes it is above the floor (with no earlier run, above a floor is
// enough).
bool GuardStopsRun(const RunFigures& run, const std::vector<RunFigures>& history);

// The question put to the user, naming the run's figures and the largest earlier ones; useRecycleBin: where
// the files would go (a delete for good says so).
std::string GuardQuestion(const RunFigures& run, const std::vector<RunFigures>& history, bool useRecycleBin);

// The question of an automatic run that asks because the user chose to be asked: what it found, and when
// the guard would have stopped it, why it is unusual.
std::string ConfirmedRunQuestion(const RunFigures& run, const std::vector<RunFigures>& history,
                                 bool useRecycleBin);

// The runs kept under the key, newest first; values that are missing or not whole numbers end the list.
std::vector<RunFigures> ReadRunHistory(RegistryKey& key);
// Puts run first and keeps the kHistoryRuns newest. False when a value could not be written.
bool WriteRunHistory(RegistryKey& key, const RunFigures& run);

}  // namespace kelvaro
