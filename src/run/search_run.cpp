#include "run/search_run.h"

#include "base/ascii_case.h"
#include "base/byte_size_text.h"
#include "base/digit_groups.h"

namespace kelvaro {

bool SearchRun::Run() {
    // The scan pumps messages, so Start can arrive again while a run goes on: it is ignored.
    WorkScope run(work_, Work::Run);
    if (!run.Started()) return false;
    try {
        const int rules = host_.BeginRun();
        for (int index = 0; index < rules; ++index) {
            if (host_.StopRequested() || Ending()) break;
            host_.PrepareRule(index);
            host_.SetStartEnabled(false);
            pump_.ProcessMessages();
            // A new scan clears the stop flag, so a close that came just now must keep it from starting.
            if (!Ending()) host_.Scan();
            host_.SetStartEnabled(true);
            // Nobody will see the rows of a run the program is ending on.
            if (Ending()) break;
            host_.AddFoundFiles(index);
        }
        host_.ClearStop();
    } catch (...) {
        host_.EndRun(run.End() == AfterWork::Close);
        throw;
    }
    // The close that came during the run, now that nothing of the run is left to do.
    host_.EndRun(run.End() == AfterWork::Close);
    return true;
}

bool SearchRun::Ending() const {
    return work_.RunStoppingToClose() || pump_.QuitRequested();
}

std::string SearchingText(const std::string& wildcard, std::int64_t found,
                          const std::string& thousandSeparator) {
    if (UpperAscii(wildcard).find(".LNK") != std::string::npos) return "Searching for broken shortcuts";
    return "Searching for " + wildcard + " (" + GroupThousands(std::to_string(found), thousandSeparator) +
           " found)";
}

std::string FoundFilesText(std::int64_t files, std::uint64_t bytes, const std::string& thousandSeparator,
                           const std::string& decimalSeparator) {
    return "Found " + GroupThousands(std::to_string(files), thousandSeparator) +
           (files == 1 ? " file, " : " files, ") + ByteSizeText(bytes, thousandSeparator, decimalSeparator);
}

}  // namespace kelvaro
