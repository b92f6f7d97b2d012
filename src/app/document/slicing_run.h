#pragma once
// The slicing run: the engine or the sampler cutting the video into shots,
// with its settings and its progress texts. A run goes through segment
// workers (slicing/parallel_slicing.h) whose analysed frames come back as
// queued events and go through the slicer here, on the document's thread;
// "Slice in real time" instead plays the video through the player at the
// chosen rate and slices the frames it delivers. The document owns the
// player, the slicer and the surfaces and lends them; the shots a run finds
// go to the document through its host.
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/document/document_ports.h"
#include "app/document/document_surfaces.h"
#include "app/document/slicing_progress.h"
#include "shots/shot_slicer.h"
#include "slicing/parallel_slicing.h"
#include "video/player.h"

namespace trevanto {

class ShotTemplate;

// What a run asks of the document: the thumbnail of the frame on show, the
// shots it finds, and the run's undo step (its shots are one edit).
class SlicingRunHost {
  public:
    virtual ~SlicingRunHost() = default;
    virtual const DocumentPorts& Ports() const = 0;
    virtual bool ScaleToThumbnail() = 0;
    virtual const ShotTemplate& GetShotTemplate() const = 0;
    virtual int32_t ShotCount() const = 0;
    virtual bool AddShot(const QImage& picture, std::string& captionOut, int32_t start,
                         int32_t end) = 0;
    // Keeps the shots as they are when a run begins; on closing, the shots
    // it added become one step of the undo stack.
    virtual void OpenRunStep() = 0;
    virtual void CloseRunStep() = 0;
};

class SlicingRun {
  public:
    SlicingRun(SlicingRunHost& host, Player& player, ShotSlicer& slicer,
               DocumentSurfaces& surfaces);
    // Stops a run in segments and joins its threads.
    ~SlicingRun();
    SlicingRun(const SlicingRun&) = delete;
    SlicingRun& operator=(const SlicingRun&) = delete;

    void StartEngine();
    void StartSampler();
    void StopSlicing();
    void OnSamplerCommand();   // command::kSampler
    void OnEngineCommand();    // command::kEngine
    void OnShotsMenuEngine();  // command::kShotsStartEngine
    bool IsRunning() const { return slicer_.IsActive(); }
    SlicingMode Mode() const { return slicer_.Mode(); }

    // Runs go in segments on the workers (default), the preview showing
    // the picture of the last shot found; in real time they play paced at
    // the chosen rate.
    void SetRealTimeSlicing(bool realTime) { realTimeSlicing_ = realTime; }
    bool RealTimeSlicing() const { return realTimeSlicing_; }
    // Workers of a run in segments (1 to SlicingSettings::kMaxJobs, and no
    // more than their memory allows); the cores at first.
    void SetJobs(int jobs) {
        slicer_.Settings().jobs = std::clamp(jobs, 1, SlicingSettings::kMaxJobs);
    }
    int Jobs() const { return slicer_.Settings().jobs; }
    // Frames a segment holds at least (kSegmentFrames); short clips cross
    // segments only with fewer.
    void SetSegmentFrames(int64_t frames) { segmentFrames_ = frames; }
    // The runs are shares of a run from frame `first` (one machine's part
    // of a long video): their own first frame is decoded as that run
    // decodes it, so that their scores are that run's; with the content
    // detector they read kContentShareOverrun frames past the play range,
    // whose scores the next share's first frames take. -1: runs of their own.
    void SetShareOf(int32_t first) { shareOf_ = first; }
    // Called on a run's owner thread when it queued an event: it must only
    // wake the document's thread, which then calls HandleNextRunEvent.
    void SetRunNotify(std::function<void()> notify) { notify_ = std::move(notify); }
    // Takes and handles the next event of a run in segments; false when
    // none waits.
    bool HandleNextRunEvent();
    // The last run went to its end (the video's or the play range's) rather
    // than being stopped or failing to read.
    bool ReadToEnd() const { return readToEnd_; }
    // Unpaced playback delivers every frame as fast as decoding goes. A run
    // in real time is paced whatever this says; playback goes back to it
    // when the run ends.
    void SetPacedPlayback(bool paced);

    const SlicingSettings& Settings() const { return slicer_.Settings(); }
    // The Settings dialog's OK: takes the settings and recomputes the step.
    void ApplySlicingSettings(const SlicingSettings& settings);
    // Settings (command::kSettings): the dialog on a copy; true when it was
    // closed with OK and the copy taken.
    bool EditSlicingSettings();
    // The change of every frame the last engine run on this video analysed;
    // empty once the video closes.
    const ChangeScores& Scores() const { return slicer_.Scores(); }
    // Why the open video has no frame count and cannot be sliced.
    const char* NotSeekableMessage() const;

    // One frame of the thumbnail surface through the run.
    void ProcessFrame(int32_t frame, bool force);
    // The frame presented, now in the thumbnail surface, goes through the
    // run and counts for its progress.
    void OnFramePresented(int32_t frame);
    // The run takes the frame after the end as its last cut and stops.
    void OnPlaybackEnd(int32_t frameAfterEnd);

  private:
    void OnRunCommand(int32_t button, void (SlicingRun::*start)());
    // The graph's pace and the progress texts of a run.
    void BeginRun();
    void EndRun();
    // A run in segments from the frame on show (or the play range's start)
    // to the range's end; the slicer has started.
    void StartInSegments();
    // In segments, or playing in real time from the frame on show.
    void StartPlayingOrInSegments();
    // A stitched shot through the template to the host; false when its
    // thumbnail could not be made (the run stops).
    bool AddStitchedShot(const std::optional<StitchedShot>& shot);
    // The frame a run starts at: the one on show, inside the play range.
    int32_t RunStartFrame() const;
    // The last frame a run in segments scores: the play range's end (-1:
    // the video's), or past it for a share (SetShareOf).
    int32_t RunEndFrame() const;
    // The frame on show when a run starts is the first of its first shot.
    void SliceFrameOnShow();
    void CheckCommand(int32_t commandId, bool checked);
    void ShowMessage(const std::string& text);

    SlicingRunHost& host_;
    Player& player_;
    ShotSlicer& slicer_;
    DocumentSurfaces& surfaces_;
    bool pacedPlayback_ = true;
    bool realTimeSlicing_ = false;
    bool readToEnd_ = false;
    int64_t segmentFrames_ = kSegmentFrames;
    int32_t shareOf_ = -1;
    SlicingProgress progress_;
    std::function<void()> notify_;
    // A run's frames go through `stitcher_` (the slicer lent to it): played
    // ones in real time, else those of `inSegments_`'s threads; `afterEnd_`
    // is the frame after the end mark, which closes a run in segments.
    std::unique_ptr<RunStitcher> stitcher_;
    std::optional<AnalysedFrame> afterEnd_;
    int32_t runEnd_ = -1;
    int32_t lastDecoded_ = -1;
    std::unique_ptr<ParallelSlicing> inSegments_;  // last: its threads go first
};

}  // namespace trevanto
