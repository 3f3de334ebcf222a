// Swaps listed files for symbolic links while Kelvaro deletes them: a Linux program started before the
// run. It waits until f000.tmp of FOLDER is gone (the delete has begun), then keeps replacing every third
// file a few places ahead of the lowest-numbered one still there with a link to a victim outside the
// rule's tree: most to a file VICTIMS/vNNN.tmp, every fourth to a folder VICTIMS/dK holding files. The
// link and the listed file change names in one exchange, so the name never names nothing in between,
// and the listed file is then kept with its content in SAVED.
//   swap_in_links FOLDER COUNT VICTIMS SAVED STOP_FILE
// Prints "swapped fNNN.tmp" for each swap and "swaps N" at the end; stops once every file is gone or
// swapped, when STOP_FILE exists, when the delete stands still for 5 s, or after 150 s.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// How far ahead of the delete a file is swapped: far enough that the delete cannot be between its last
// look at the file and the shell's work on it (a few milliseconds a file), near enough that every swap
// lands while the delete runs.
constexpr int kLead = 6;
constexpr int kWindow = 6;

std::string Numbered(const char* format, int number) {
    char text[32];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

bool Exists(const std::string& path) {
    struct stat data;
    return lstat(path.c_str(), &data) == 0;
}

bool IsPlainFile(const std::string& path) {
    struct stat data;
    return lstat(path.c_str(), &data) == 0 && S_ISREG(data.st_mode);
}

struct Swapper {
    std::string folder, victims, saved, stop;
    int count = 0;
    std::vector<bool> swapped;
    int swaps = 0;
    int low = 0;

    std::string Listed(int i) const { return folder + "/" + Numbered("f%03d.tmp", i); }

    // The lowest-numbered file the delete has not reached yet.
    void Advance() {
        while (low < count && (swapped[low] || !Exists(Listed(low)))) ++low;
    }

    bool Swap(int i) {
        const std::string name = Numbered("f%03d.tmp", i);
        const std::string target = swaps % 4 == 3 ? victims + "/" + Numbered("d%d", swaps / 4 % 5)
                                                  : victims + "/" + Numbered("v%03d.tmp", i);
        const std::string temporary = folder + "/" + Numbered("f%03d.swap", i);
        if (symlink(target.c_str(), temporary.c_str()) != 0) return false;
        // One step: the link takes the listed name and the listed file the temporary one, or, when the delete
        // took the file first, nothing changes. (A second name made first and a rename after it would let the
        // delete take the listed file in between, and the link would then seem to have been deleted.)
        if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, Listed(i).c_str(), RENAME_EXCHANGE) != 0) {
            unlink(temporary.c_str());
            return false;
        }
        // The listed file, kept aside with its content.
        if (rename(temporary.c_str(), (saved + "/" + name).c_str()) != 0) return false;
        std::printf("swapped %s\n", name.c_str());
        std::fflush(stdout);
        swapped[i] = true;
        ++swaps;
        return true;
    }

    void SwapAhead() {
        for (int i = low + kLead; i < count && i < low + kLead + kWindow; ++i) {
            if (swapped[i] || i % 3 != 0 || !IsPlainFile(Listed(i))) continue;
            // The delete may have moved on while the files above were looked at.
            Advance();
            if (i < low + kLead) continue;
            Swap(i);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT VICTIMS SAVED STOP_FILE\n", argv[0]);
        return 2;
    }
    Swapper swapper{argv[1], argv[3], argv[4], argv[5], std::atoi(argv[2])};
    swapper.swapped.assign(static_cast<std::size_t>(swapper.count), false);
    const auto deadline = Clock::now() + std::chrono::seconds(150);
    const auto pause = std::chrono::microseconds(100);

    while (Exists(swapper.Listed(0)) && !Exists(swapper.stop) && Clock::now() < deadline)
        std::this_thread::sleep_for(pause);
    auto moved = Clock::now();
    for (int last = -1; swapper.low < swapper.count && !Exists(swapper.stop) && Clock::now() < deadline;
         std::this_thread::sleep_for(pause)) {
        swapper.Advance();
        if (swapper.low != last) {
            last = swapper.low;
            moved = Clock::now();
        } else if (Clock::now() - moved > std::chrono::seconds(5)) {
            break;
        }
        swapper.SwapAhead();
    }
    std::printf("swaps %d\n", swapper.swaps);
    return 0;
}
