#pragma once
// A document on the real FFmpeg graph, driven as trevanto-cli drives it:
// unpaced, graph events handled one by one until the slicing run ends.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/player_doc.h"
#include "recording_ports.h"
#include "support/test_clips.h"
#include "video/open_media_graph.h"

namespace trevanto::test {

class ClipSession {
  public:
    ClipSession() { view.document = &doc; }

    // Opens the clip unpaced and pauses it with nothing waiting.
    bool Open(const TestClip& clip) {
        doc.SetPacedPlayback(false);
        if (!doc.OpenVideo(MediaPath(clip)))
            return false;
        doc.GetPlayer().Pause();
        doc.HandleGraphEvents();
        return true;
    }
    // Handles events until `done` holds; false after a minute without it.
    template <typename Done>
    bool RunUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            if (!doc.HandleNextGraphEvent())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    bool RunUntilSlicingEnds() {
        return RunUntil([this] { return !doc.IsSlicing(); });
    }
    std::vector<std::pair<int32_t, int32_t>> Ranges() const {
        std::vector<std::pair<int32_t, int32_t>> ranges;
        for (const auto& shot : doc.Shots())
            ranges.emplace_back(shot->startFrame, shot->endFrame);
        return ranges;
    }

    RecordingView view;
    RecordingFrame frame;
    RecordingUser user;
    CPlayerDoc doc{OpenMediaGraph, DocumentPorts{&view, &frame, nullptr, &user}, 640, 480};
};

// The shots a clip's cuts make between first and last (inclusive).
inline std::vector<std::pair<int32_t, int32_t>> ExpectedShots(const std::vector<int>& cuts,
                                                              int first, int last) {
    std::vector<std::pair<int32_t, int32_t>> shots;
    int start = first;
    for (const int cut : cuts) {
        if (cut <= first || cut > last)
            continue;
        shots.emplace_back(start, cut - 1);
        start = cut;
    }
    shots.emplace_back(start, last);
    return shots;
}

}  // namespace trevanto::test
