#pragma once
// A PlayerListener that records what the player reported to its owner.
#include <map>
#include <string>
#include <vector>

#include "video/player_listener.h"

namespace trevanto::test {

class RecordingPlayerListener : public PlayerListener {
  public:
    void OnNoVideo() override { ++noVideo; }
    void CheckButton(PlayerButton button, bool checked) override { buttons[button] = checked; }
    void OnPlayWithoutVideo() override { ++openFileRequests; }
    void OnOpenFailed(OpenFailure failure) override { failures.push_back(failure); }
    bool SetUpSurfaces() override { return surfacesOk; }
    void OnVideoOpened(const std::string& name, int32_t frames) override {
        title = name, frameCount = frames;
    }
    void OnVideoClosed() override { ++closes; }
    void OnPlayRangeChanged(int32_t start, int32_t end) override { marks = {start, end}; }
    void OnPlaybackStopped() override { ++slicingStops; }
    void PresentFrame(bool beyondPlayRange) override {
        ++presented, presentedBeyondRange += beyondPlayRange ? 1 : 0;
    }
    void OnAwaitedFrame() override {}
    void OnPlaybackEnd(int32_t frameAfterEnd) override { playbackEnds.push_back(frameAfterEnd); }
    bool Checked(PlayerButton button) const { return buttons.count(button) && buttons.at(button); }

    bool surfacesOk = true;
    int noVideo = 0;
    std::vector<OpenFailure> failures;
    std::map<PlayerButton, bool> buttons;
    int openFileRequests = 0, closes = 0, slicingStops = 0;
    int presented = 0, presentedBeyondRange = 0;
    std::string title;
    int32_t frameCount = 0;
    std::pair<int32_t, int32_t> marks{-2, -2};
    std::vector<int32_t> playbackEnds;
};

}  // namespace trevanto::test
