// What the main window's run, delete and close do to each other, one story a row: each step is an event
// and what the state answers to it.
#include "run/work_state.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvaro::testing {
namespace {

std::string Step(WorkState& state, const std::string& event) {
    auto said = [](AfterWork after) { return after == AfterWork::Close ? "close" : "nothing"; };
    if (event == "start run") return state.Begin(Work::Run) ? "started" : "refused";
    if (event == "start delete") return state.Begin(Work::Delete) ? "started" : "refused";
    if (event == "run ends") return said(state.End(Work::Run));
    if (event == "delete ends") return said(state.End(Work::Delete));
    if (event == "lists may change?") return state.ListsMayChange() ? "yes" : "no";
    if (event == "run stopping?") return state.RunStoppingToClose() ? "yes" : "no";
    if (event == "close") {
        switch (state.CloseArrived()) {
            case CloseAction::CloseNow:
                return "close now";
            case CloseAction::StopRun:
                return "stop run";
            case CloseAction::Defer:
                return "defer";
        }
    }
    return "unknown event " + event;
}

struct Story {
    const char* name;
    std::vector<std::pair<std::string, std::string>> steps;  // event, answer
};

TEST(WorkState, RunDeleteAndCloseStories) {
    const Story stories[] = {
        {"idle", {{"close", "close now"}, {"lists may change?", "yes"}, {"run stopping?", "no"}}},
        {"a run alone",
         {{"start run", "started"},
          {"start run", "refused"},
          {"lists may change?", "yes"},
          {"run ends", "nothing"},
          {"start run", "started"}}},
        {"a close during a run stops it, and the window asks again when it has ended",
         {{"start run", "started"},
          {"close", "stop run"},
          {"run stopping?", "yes"},
          {"run ends", "close"},
          {"close", "close now"},
          {"run stopping?", "no"}}},
        {"a run started before the close comes back stops at once",
         {{"start run", "started"},
          {"close", "stop run"},
          {"run ends", "close"},
          {"start run", "started"},
          {"run stopping?", "yes"},
          {"run ends", "close"}}},
        {"a delete holds everything that changes the lists, and a close waits for it",
         {{"start delete", "started"},
          {"start delete", "refused"},
          {"start run", "refused"},
          {"lists may change?", "no"},
          {"close", "defer"},
          {"close", "defer"},
          {"delete ends", "close"},
          {"lists may change?", "yes"},
          {"start delete", "started"},
          {"delete ends", "nothing"}}},
        {"a delete from inside a run: the close waits for the delete, then stops the run",
         {{"start run", "started"},
          {"start delete", "started"},
          {"start delete", "refused"},
          {"close", "defer"},
          {"run stopping?", "no"},
          {"delete ends", "close"},
          {"close", "stop run"},
          {"run ends", "close"},
          {"close", "close now"}}},
    };
    for (const Story& story : stories) {
        WorkState state;
        for (std::size_t i = 0; i < story.steps.size(); ++i)
            EXPECT_EQ(Step(state, story.steps[i].first), story.steps[i].second)
                << story.name << ", step " << i + 1 << " (" << story.steps[i].first << ")";
    }
}

}  // namespace
}  // namespace kelvaro::testing
