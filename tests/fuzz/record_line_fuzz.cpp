// The deletion record as its file may hold it after a crash, a hand edit or another program: read without
// failing, and every line that reads writes back as the same line and reads again the same; the last
// clean-up found in it is one of its own.
#include <cstdlib>
#include <string>

#include "run/deletion_record.h"
#include "run/restore_cleanup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<kelvaro::RecordedLine> lines = kelvaro::ParseRecord(text);
    for (const kelvaro::RecordedLine& line : lines) {
        const std::string written = kelvaro::RecordLine(line.file, line.kind);
        const auto again = kelvaro::ParseRecordLine(written);
        if (!again || kelvaro::RecordLine(again->file, again->kind) != written) std::abort();
    }
    const auto cleanup = kelvaro::FindLastCleanup(lines);
    if (cleanup && static_cast<std::size_t>(cleanup->deletedForGood + cleanup->restoredAlready) +
                           cleanup->recycled.size() >
                       lines.size())
        std::abort();
    return 0;
}
