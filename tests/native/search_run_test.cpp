// The search run's order of work over a stand-in window, and what a Stop, a close, a quit, a second
// Start or an error arriving at some point of it does.
#include "run/search_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace kelvaro::testing {
namespace {

// Notes each call as a word; `during` acts at a call, as a message the pump delivers there would.
class RecordingHost : public SearchRunHost, public MessagePump {
public:
    RecordingHost() : run(*this, work, *this) {}
    int BeginRun() override { return Note("begin"), 2; }
    void PrepareRule(int index) override { Note("prepare" + std::to_string(index)); }
    void SetStartEnabled(bool enabled) override { Note(enabled ? "on" : "off"); }
    bool StopRequested() override { return stop; }
    void Scan() override { Note("scan"); }
    void AddFoundFiles(int index) override { Note("add" + std::to_string(index)); }
    void ClearStop() override { Note("clear"); }
    void EndRun(bool close) override { Note(close ? "end+close" : "end"); }
    void ProcessMessages() override { Note("pump"); }
    bool QuitRequested() const override { return quit; }

    void Note(const std::string& call) {
        log += (log.empty() ? "" : " ") + call;
        // Each action once, at the first call of its name.
        if (auto act = during.extract(call)) act.mapped()();
    }
    WorkState work;
    SearchRun run;
    std::map<std::string, std::function<void()>> during;
    std::string log;
    bool stop = false;
    bool quit = false;
};

TEST(SearchRun, WhatArrivesDuringARunDoesToIt) {
    const std::string plain = "begin prepare0 off pump scan on add0 prepare1 off pump scan on add1 clear end";
    const struct {
        const char* name;
        const char* at;
        std::function<void(RecordingHost&)> act;
        std::string log;
    } cases[] = {
        {"nothing", "begin", [](RecordingHost&) {}, plain},
        {"a Stop during a scan keeps its rows and starts no later rule", "scan",
         [](RecordingHost& h) { h.stop = true; }, "begin prepare0 off pump scan on add0 clear end"},
        {"a close during a scan lists nothing more and closes after the run", "scan",
         [](RecordingHost& h) { h.work.CloseArrived(); }, "begin prepare0 off pump scan on clear end+close"},
        {"a close before the scan keeps it from starting", "pump",
         [](RecordingHost& h) { h.work.CloseArrived(); }, "begin prepare0 off pump on clear end+close"},
        {"a quit during a scan lists nothing more", "scan", [](RecordingHost& h) { h.quit = true; },
         "begin prepare0 off pump scan on clear end"},
        {"a second Start is ignored", "scan", [](RecordingHost& h) { EXPECT_FALSE(h.run.Run()); }, plain},
        {"a delete from inside the run does not stop it", "scan",
         [](RecordingHost& h) {
             EXPECT_TRUE(h.work.Begin(Work::Delete));
             h.work.End(Work::Delete);
         },
         plain},
        {"an error still ends the run, and the next may start", "add0",
         [](RecordingHost&) { throw std::runtime_error("damaged rule"); },
         "begin prepare0 off pump scan on add0 end"},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        host.during[c.at] = [&] { c.act(host); };
        try {
            EXPECT_TRUE(host.run.Run()) << c.name;
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(host.log, c.log) << c.name;
        EXPECT_TRUE(host.work.Begin(Work::Run)) << c.name << ": the run has ended";
    }
}

TEST(SearchRun, NoRunStartsDuringADelete) {
    RecordingHost host;
    ASSERT_TRUE(host.work.Begin(Work::Delete));
    EXPECT_FALSE(host.run.Run());
    EXPECT_EQ(host.log, "");
}

TEST(SearchRun, WhatTheRunSaysItLooksForAndWhatItFound) {
    EXPECT_EQ(SearchingText("*.TmP", 0, ","), "Searching for *.TmP (0 found)");
    EXPECT_EQ(SearchingText("*.tmp", 1234, "."), "Searching for *.tmp (1.234 found)");
    EXPECT_EQ(SearchingText("*.lNk", 1234, ","), "Searching for broken shortcuts");
    EXPECT_EQ(FoundFilesText(16667, 83'466'650, ",", "."), "Found 16,667 files, 79.6 MB");
    EXPECT_EQ(FoundFilesText(1, 12, ",", "."), "Found 1 file, 12 bytes");
    EXPECT_EQ(FoundFilesText(0, 0, ",", "."), "Found 0 files, 0 bytes");
}

}  // namespace
}  // namespace kelvaro::testing
