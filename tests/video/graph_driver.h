#pragma once
// Drives a playback graph from a test: opens clips and takes events off its
// queue with bounded waits, the way the owner's thread does.
#include <fstream>
#include <string_view>
#include <thread>

#include <gtest/gtest.h>

#include "support/frame_code.h"
#include "support/test_clips.h"
#include "video/open_media_graph.h"

namespace trevanto::test {

using namespace std::chrono_literals;

inline std::unique_ptr<MediaGraph> OpenUnpaced(const std::string& url, OpenError& error) {
    std::unique_ptr<MediaGraph> graph = OpenMediaGraph({url}, error);
    return graph ? (graph->SetPaced(false), std::move(graph)) : nullptr;
}

inline bool WaitEvent(MediaGraph& graph, GraphEvent& event,
                      std::chrono::milliseconds timeout = 20s) {
    for (const auto end = std::chrono::steady_clock::now() + timeout; !graph.GetEvent(event);
         std::this_thread::sleep_for(1ms))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

// The next event's frame code: -2 for an event that is no picture, -3 for none.
inline int NextFrameCode(MediaGraph& graph) {
    GraphEvent event;
    return !WaitEvent(graph, event) ? -3 : event.frame ? ReadFrameCode(*event.frame) : -2;
}

inline bool StaysQuiet(MediaGraph& graph, std::chrono::milliseconds quiet = 150ms) {
    GraphEvent event;
    return !WaitEvent(graph, event, quiet);
}

// Damaged files may tell no frame duration: a 25 per second one stands in.
inline double PerFrame(const MediaGraph& graph) {
    return graph.AvgTimePerFrame() > 0.001 ? graph.AvgTimePerFrame() : 0.04;
}
inline int FrameAt(const MediaGraph& graph, double seconds) {
    return static_cast<int>(seconds / PerFrame(graph) + 0.5);
}
inline double SecondsOf(const MediaGraph& graph, int frame) {
    return frame * PerFrame(graph);
}

// A hash of a picture's rows, to compare pictures without keeping them.
inline size_t PictureHash(const Surface& picture, size_t seed = 1) {
    for (int y = 0; y < picture.Height(); ++y)
        seed = seed * 31 + std::hash<std::string_view>{}(
                               std::string_view(reinterpret_cast<const char*>(picture.Row(y)),
                                                static_cast<size_t>(picture.Width()) * 4));
    return seed;
}

inline std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace trevanto::test
