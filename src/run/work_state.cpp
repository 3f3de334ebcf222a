#include "run/work_state.h"

namespace kelvaro {

bool WorkState::Begin(Work work) {
    if (deleting_ || (work == Work::Run && running_)) return false;
    (work == Work::Run ? running_ : deleting_) = true;
    return true;
}

AfterWork WorkState::End(Work work) {
    if (work == Work::Run) {
        running_ = false;
        // Left set until the close arrives again, so that nothing of a run starts in between.
        return stopRunToClose_ ? AfterWork::Close : AfterWork::Nothing;
    }
    deleting_ = false;
    const bool close = closeAfterDelete_;
    closeAfterDelete_ = false;
    return close ? AfterWork::Close : AfterWork::Nothing;
}

CloseAction WorkState::CloseArrived() {
    if (deleting_) {
        closeAfterDelete_ = true;
        return CloseAction::Defer;
    }
    if (running_) {
        stopRunToClose_ = true;
        return CloseAction::StopRun;
    }
    stopRunToClose_ = false;
    return CloseAction::CloseNow;
}

}  // namespace kelvaro
