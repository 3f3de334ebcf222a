#pragma once
// One search run: the rules of the setup list scanned in turn, each rule's rows added when its scan
// ends, until the rules run out, Stop is pressed, a close arrives or the program is to quit. The run
// works through the window's parts as SearchRunHost offers them, runs the waiting messages (Stop, Esc,
// a close or a quit come in through them) through the pump, and asks the window's WorkState whether it
// may start and what comes after it.
#include <cstdint>
#include <string>

#include "platform/message_pump.h"
#include "run/work_state.h"

namespace kelvaro {

class SearchRunHost {
public:
    virtual ~SearchRunHost() = default;
    // Empties the results and shows the progress; takes the rules as they stand now and gives their count.
    virtual int BeginRun() = 0;
    // Sets the scan up for rule `index` (from 0) and shows what it searches for.
    virtual void PrepareRule(int index) = 0;
    virtual void SetStartEnabled(bool enabled) = 0;
    virtual bool StopRequested() = 0;
    virtual void Scan() = 0;
    // The rule's files, as its scan found them, join the results.
    virtual void AddFoundFiles(int index) = 0;
    virtual void ClearStop() = 0;
    // The run has ended, also by an error; close says the window must close now that it has.
    virtual void EndRun(bool close) = 0;
};

class SearchRun {
public:
    SearchRun(SearchRunHost& host, WorkState& work, MessagePump& pump)
        : host_(host), work_(work), pump_(pump) {}
    // False when a run may not start now (one is under way, or a delete).
    bool Run();

private:
    // True when the run must end without going on: the window is to close or the program to quit.
    bool Ending() const;

    SearchRunHost& host_;
    WorkState& work_;
    MessagePump& pump_;
};

// What the progress dialog says a rule searches for, with how many files the run has found so far.
// Shortcut rules look for broken shortcuts, which are known only when their shortcuts are tested after
// the scan: they show no count.
std::string SearchingText(const std::string& wildcard, std::int64_t found,
                          const std::string& thousandSeparator);

// What a run found, for the status bar once it has ended: "Found 16,667 files, 79.6 MB".
std::string FoundFilesText(std::int64_t files, std::uint64_t bytes, const std::string& thousandSeparator,
                           const std::string& decimalSeparator);

}  // namespace kelvaro
