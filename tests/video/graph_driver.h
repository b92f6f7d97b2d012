#pragma once
// Drives a playback graph from a test: opens clips and takes events off its
// queue with bounded waits, the way the owner's thread does.
#include <cctype>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/test_clips.h"
#include "video/open_media_graph.h"

namespace trevanto::test {

using namespace std::chrono_literals;

inline std::unique_ptr<MediaGraph> OpenUnpaced(const std::string& url, std::string& error) {
    std::unique_ptr<MediaGraph> graph = OpenMediaGraph(url, error);
    if (graph)
        graph->SetPaced(false);
    return graph;
}

// Polls the queue until an event arrives or `timeout` passes.
inline bool WaitEvent(MediaGraph& graph, GraphEvent& event,
                      std::chrono::milliseconds timeout = 20s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!graph.GetEvent(event)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The next repaint event's frame code; events of other codes before it make
// the result -2, a timeout -3.
inline int NextFrameCode(MediaGraph& graph, std::chrono::milliseconds timeout = 20s) {
    GraphEvent event;
    if (!WaitEvent(graph, event, timeout))
        return -3;
    if (event.code != GraphEventCode::Repaint || !event.frame)
        return -2;
    return ReadFrameCode(*event.frame);
}

// True when no event arrives within `quiet`.
inline bool StaysQuiet(MediaGraph& graph, std::chrono::milliseconds quiet = 150ms) {
    GraphEvent event;
    return !WaitEvent(graph, event, quiet);
}

inline int FrameAt(const MediaGraph& graph, double seconds) {
    const double perFrame = graph.AvgTimePerFrame() > 0.001 ? graph.AvgTimePerFrame() : 0.04;
    return static_cast<int>(seconds / perFrame + 0.5);
}

inline double SecondsOf(const MediaGraph& graph, int frame) {
    const double perFrame = graph.AvgTimePerFrame() > 0.001 ? graph.AvgTimePerFrame() : 0.04;
    return frame * perFrame;
}

// A test name part made of a clip's file name.
inline std::string NameOfFile(std::string file) {
    for (char& c : file)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return file;
}

struct ClipTestName {
    std::string operator()(const ::testing::TestParamInfo<TestClip>& info) const {
        return NameOfFile(info.param.file);
    }
    std::string operator()(const ::testing::TestParamInfo<std::string>& info) const {
        return NameOfFile(info.param);
    }
};

// A test per clip on an unpaced graph opened on it.
class UnpacedClipGraphTest : public ::testing::TestWithParam<TestClip> {
  protected:
    void SetUp() override {
        std::string error;
        graph_ = OpenUnpaced(MediaPath(GetParam()), error);
        ASSERT_TRUE(graph_) << error;
    }
    std::unique_ptr<MediaGraph> graph_;
};

}  // namespace trevanto::test
