#pragma once
// What the main window is busy with (a search run, a delete, or both: a delete started from the run's
// pumped messages) and what a close that arrives meanwhile does. The run reads the window's lists and
// settings between its pumps, and a delete removes rows from the list it walks: neither may go on with
// a window that is gone, so a close waits for the one under way or stops it.
namespace kelvaro {

enum class Work { Run, Delete };

enum class CloseAction {
    CloseNow,  // nothing under way: the window closes
    StopRun,   // the run stops as Stop stops it; the window closes once the run has unwound
    Defer,     // a delete is under way: the window closes when it ends
};

enum class AfterWork { Nothing, Close };

class WorkState {
public:
    // A run starts only when the window is idle: a second run would share the scanner, and a run
    // started during a delete would empty the list the delete works on. A delete may start during a
    // run, never inside another delete. False (and nothing changes) when the work may not start.
    bool Begin(Work work);
    // The work has ended (also by an error). Close when a close came during it and the window must
    // now close: for a delete the deferred close is handed over once; for a run the window asks again.
    AfterWork End(Work work);
    CloseAction CloseArrived();

    bool Busy(Work work) const { return work == Work::Run ? running_ : deleting_; }
    // The rows and rules keep their places (no sort, no rule edited or removed) while a delete walks them.
    bool ListsMayChange() const { return !deleting_; }
    // A close came during the run: whatever is left of the run must not start.
    bool RunStoppingToClose() const { return stopRunToClose_; }

private:
    bool running_ = false;
    bool deleting_ = false;
    bool stopRunToClose_ = false;
    bool closeAfterDelete_ = false;
};

// The work under way for as long as the object lives. End() gives what comes after it; ended by an
// error, the work just ends.
class WorkScope {
public:
    WorkScope(WorkState& state, Work work) : state_(state), work_(work), started_(state.Begin(work)) {}
    ~WorkScope() {
        if (started_) state_.End(work_);
    }
    WorkScope(const WorkScope&) = delete;
    WorkScope& operator=(const WorkScope&) = delete;
    bool Started() const { return started_; }
    AfterWork End() {
        started_ = false;
        return state_.End(work_);
    }

private:
    WorkState& state_;
    Work work_;
    bool started_;
};

}  // namespace kelvaro
