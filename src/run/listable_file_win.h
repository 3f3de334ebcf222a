#pragma once
// Whether a found file may be listed: only files the user could delete and rewrite are offered.
#include <cstdint>
#include <string>

namespace kelvaro {

// Opens the file for reading and writing, sharing both, existing files only, and closes it again. False
// when it cannot be opened (held by another program without sharing, gone since it was found). The
// attributes the directory search has just given decide the read-only and folder cases without asking
// the file system again (under Wine every question about an open file is a trip to the server, and a run
// asks for every file); they also keep read-only files out where Wine, running as root, would open them
// for writing.
bool CanOpenForReadWrite(const std::string& path, std::uint32_t attributesFound);

}  // namespace kelvaro
