#pragma once
// Whether a found file may be listed: only files the user could delete and rewrite are offered.
#include <cstdint>
#include <string>

namespace kelvaro {

// Opens the file for reading and writing, sharing both, existing files only; takes its 64-bit size and
// closes it again. False when it cannot be opened, and also for a file with the read-only attribute
// or a folder.
bool OpenForReadWrite(const std::string& path, std::uint64_t& size);

// The same test for a file whose attributes and size the directory search has just given: they decide
// the read-only and folder cases and stand for the size, without asking the file system again (under
// Wine every question about an open file is a trip to the server, and a run asks for every file).
bool CanOpenForReadWrite(const std::string& path, std::uint32_t attributesFound);

}  // namespace kelvaro
