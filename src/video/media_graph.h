#pragma once
// The playback graph: opens a file or stream, decodes its video on a
// streaming thread of its own and hands each frame to the owner as a queued
// repaint event. It stands where the original platform had a filter graph
// with a renderer inside it.
//
// Threads: every member function is called on the owner's thread (the UI
// thread in the desktop program). The notify callback runs on the streaming
// thread; it must only wake the owner, who then drains the queue with
// GetEvent on its own thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture/surface.h"
#include "video/open_failure.h"

namespace trevanto {

enum class GraphEventCode : int32_t {
    Complete = 1,    // end of the stream, raised once
    UserAbort = 2,   // the user ended playback
    ErrorAbort = 3,  // reading or decoding failed after opening
    Repaint = 5,     // a frame is ready: `frame` holds it
    SeekMissed = 6,  // a seek reached no frame that decodes: none comes for it
};

struct GraphEvent {
    GraphEventCode code = GraphEventCode::Complete;
    // Repaint only: the whole decoded frame, RGB32. The receiver may hold it
    // as long as it likes; the graph recycles it once every holder let go.
    // Null for a played frame when the owner wants none (SetPlaybackFrames).
    std::shared_ptr<const Surface> frame;
    // Repaint only: the frame's number times AvgTimePerFrame (the frame's
    // presentation time from the stream's start, unless the rate varies).
    double frameSeconds = 0.0;
    // Repaint only, when the owner asked for one (SetThumbnailSize): the
    // frame area-averaged down to the thumbnail size, RGB32; null otherwise.
    std::shared_ptr<const Surface> thumbnail;
};

enum class GraphState : int32_t { Stopped = 1, Paused = 2, Running = 3 };

class MediaGraph {
  public:
    virtual ~MediaGraph() = default;

    // State changes are complete when these return.
    virtual bool Run() = 0;
    virtual bool Pause() = 0;
    virtual bool Stop() = 0;
    virtual GraphState GetState() const = 0;

    // Position of the last delivered frame, seconds from the stream's start.
    // Positions, seek targets and the duration count frames in
    // AvgTimePerFrame steps: where the rate varies, frame N (the N-th
    // picture) lies at N x AvgTimePerFrame, its own time is PictureSeconds'.
    virtual bool GetCurrentPosition(double& seconds) const = 0;
    // After this, the next repaint event carries exactly the frame at
    // `seconds` (rounded to the nearest frame), in any state; or, when no
    // frame there decodes, a SeekMissed event comes instead.
    virtual bool PutCurrentPosition(double seconds) = 0;
    // 0 for streams without a known length.
    virtual double DurationSeconds() const = 0;
    // A file that could seek, but whose length was not found (cut short, or
    // damaged at its end): it has no frame count, as a live stream has none.
    virtual bool LengthUnknown() const { return false; }
    virtual double Rate() const = 0;
    virtual bool SetRate(double rate) = 0;
    // Seconds per frame as the stream reports it; 0 when it reports none.
    virtual double AvgTimePerFrame() const = 0;
    virtual bool VideoSize(int& width, int& height) const = 0;
    // Where the rate varies: each frame's own presentation time from frame
    // 0's, once known (the graph reads it off the owner's path); null while
    // it is read and for a constant rate, where frame x AvgTimePerFrame is
    // the time. Frames and positions stay in AvgTimePerFrame steps either way.
    virtual std::shared_ptr<const std::vector<double>> PictureSeconds() const { return nullptr; }

    // Takes the oldest waiting event; false when none waits (timeout 0).
    virtual bool GetEvent(GraphEvent& event) = 0;
    // Called from the streaming thread whenever an event was queued.
    virtual void SetNotify(std::function<void()> notify) = 0;
    // Paced (default): frames are delivered at their times divided by the
    // rate, late frames dropped. Unpaced: every frame, as fast as decoding
    // goes, waiting while the previous repaint event was not taken.
    virtual void SetPaced(bool paced) = 0;
    // Paced playback that drops nothing: a late frame is still delivered,
    // and playback slows down instead (the clock starts afresh from it; while
    // the owner has not taken the waiting repaint events, the graph waits).
    // For an owner that must see every frame, such as a slicing run.
    virtual void SetDeliverEveryFrame(bool every) = 0;
    // Asks for a thumbnail of this size with every repaint event from now
    // on, made from the decoded picture while it is converted (cheaper than
    // shrinking the RGB32 frame); 0 x 0 asks for none. Graphs that cannot
    // make thumbnails ignore it, and their events carry none.
    virtual void SetThumbnailSize(int /*width*/, int /*height*/) {}
    // False: frames reached by playing carry only their thumbnail, no RGB32
    // frame, for an owner that shows nothing (a run on the command line);
    // converting every whole frame would cost more than decoding it. A
    // sought frame always comes whole, as does every frame while no
    // thumbnail is asked. Graphs that cannot ignore it.
    virtual void SetPlaybackFrames(bool /*wanted*/) {}
    // True: the graph opens the video's sound and plays it along at normal
    // speed, the pictures then following the sound heard. Off by default, so
    // that an owner who shows nothing never opens an audio device. Graphs
    // without sound ignore it.
    virtual void SetSoundWanted(bool /*wanted*/) {}
    // Whether sound plays: asked and found, with a device to play it on.
    virtual bool HasSound() const { return false; }
    // 0 (silent) to 1 (as decoded).
    virtual void SetSoundVolume(double /*level*/) {}
};

// Opens the request's path or stream URL. On failure returns null and puts
// why into `error`.
using MediaGraphFactory =
    std::function<std::unique_ptr<MediaGraph>(const OpenRequest& request, OpenError& error)>;

}  // namespace trevanto
