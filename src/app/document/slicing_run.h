#pragma once
// The slicing run: the engine or the sampler cutting the frames the player
// delivers into shots, at the run's pace, with its settings and its progress
// texts. The document owns the player, the slicer and the surfaces and lends
// them; the shots a run finds go to the document through its host.
#include <QImage>

#include <cstdint>
#include <string>

#include "app/document/document_ports.h"
#include "app/document/document_surfaces.h"
#include "app/document/slicing_progress.h"
#include "shots/shot_slicer.h"
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
    SlicingRun(SlicingRunHost& host, Player& player, ShotSlicer& slicer, DocumentSurfaces& surfaces)
        : host_(host), player_(player), slicer_(slicer), surfaces_(surfaces) {}

    void StartEngine();
    void StartSampler();
    void StopSlicing();
    void OnSamplerCommand();   // command::kSampler
    void OnEngineCommand();    // command::kEngine
    void OnShotsMenuEngine();  // command::kShotsStartEngine
    bool IsRunning() const { return slicer_.IsActive(); }
    SlicingMode Mode() const { return slicer_.Mode(); }

    // Runs go as fast as decoding (default), the preview showing frames at
    // the display's rate; in real time they play paced at the chosen rate.
    void SetRealTimeSlicing(bool realTime) { realTimeSlicing_ = realTime; }
    bool RealTimeSlicing() const { return realTimeSlicing_; }
    // Unpaced playback delivers every frame as fast as decoding goes. A run
    // is unpaced, or paced in real time, whatever this says; playback goes
    // back to it when the run ends.
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
    SlicingProgress progress_;
};

}  // namespace trevanto
