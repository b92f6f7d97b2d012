#pragma once
// The one chain of frame jobs: an operation that needs the pictures of given
// frames (rebuilding the shots of a shots file, exporting shots as JPEG
// images, the images of a publication, retaking a shot's thumbnail) is a job
// of k items. For each item the chain has the job seek the video, waits for
// the next presented frame, seeks again at most kMaxRetries times while
// another frame comes, lets the job act, shows the progress and goes on with
// the next item. A job that has its items' pictures made apart (by workers,
// in the items' order) answers Ready or Pending instead of seeking, and the
// chain goes through its items at their pace, with the same progress and
// Escape. An item whose frame cannot be reached is told to the job and
// passed over, so no chain waits for ever. One chain runs at a time; closing
// the video cancels it.
#include <chrono>
#include <cstdint>
#include <string>

namespace trevanto {

class Player;
struct DocumentPorts;

class FrameJob {
  public:
    enum class Seek {
        Sought,       // the video is on its way to the item's frame
        Skipped,      // the item needs no frame (done, or refused with a message)
        Unreachable,  // the item's frame cannot be reached (see OnUnreachable)
        Failed,       // the chain ends without completing
        // Without the player: the item's picture was made apart (by
        // workers) and the job acts at once (Act).
        Ready,
        // The item's picture is still being made apart: the chain goes back
        // to the event loop and asks again on ResumeWork.
        Pending,
    };
    virtual ~FrameJob() = default;

    // The progress bar's caption, shown when the job has more than one item.
    virtual std::string ProgressCaption() const = 0;
    // Called once when the chain starts the job (before the first seek).
    virtual void Begin() {}
    // Moves the video to the frame item k needs.
    virtual Seek SeekItem(int32_t k) = 0;
    // The frame item k needs; -1 takes whichever comes.
    virtual int32_t WantedFrame(int32_t k) const = 0;
    // Item k's data went away while its frame was on the way: the chain ends.
    virtual bool ItemGone(int32_t /*k*/) const { return false; }
    // Another frame came for item k and will be asked again.
    virtual void OnOtherFrame(int32_t /*k*/) {}
    // The frame for item k is the current one. False ends the chain.
    virtual bool Act(int32_t k) = 0;
    // Item k's frame cannot be reached: its seek was refused or found no
    // frame, or none came in time. The job notes or says so; the chain goes
    // on with the next item.
    virtual void OnUnreachable(int32_t k) = 0;
    // Jobs that let the user's events through after each item, Escape
    // aborting them with this message; null for none.
    virtual const char* EscapeMessage() const { return nullptr; }
    // What stopping the job is called in the question asked before opening
    // another video ends it ("Stop saving the JPEG images"); empty for a job
    // that may end unasked.
    virtual std::string StopAction() const { return {}; }
    // The job was stopped early (FrameJobChain::Stop), after Finish: it
    // tells what was done and what was not.
    virtual void ReportStopped() {}
    // The chain ended: after the last item (completed) or early.
    virtual void Finish(bool completed) = 0;
};

class FrameJobChain {
  public:
    using Clock = std::chrono::steady_clock;
    // A frame other than the wanted one is sought again at most this many
    // times; then the frame reached is taken.
    static constexpr int kMaxRetries = 3;
    // Waiting user events let through after each item of an escapable job.
    static constexpr int kEventsPerItem = 20;
    // A frame that has not come this long after its seek never will.
    static constexpr std::chrono::seconds kFrameWaitLimit{15};

    FrameJobChain(Player& player, const DocumentPorts& ports) : player_(player), ports_(ports) {}
    FrameJobChain(const FrameJobChain&) = delete;
    FrameJobChain& operator=(const FrameJobChain&) = delete;

    // Runs the job over items 0..count-1. False when a chain runs, there is
    // no item, or the first item's seek failed.
    bool Start(FrameJob& job, int32_t count);
    // The awaited frame was presented.
    void OnFrameArrived();
    // The awaited frame will not come (its seek reached no frame).
    void OnFrameMissed();
    // A job whose pictures are made apart may have more: the chain goes on
    // with the items whose pictures are ready. True when it went on by an
    // item at least (or ended). The owner calls it when woken (the graph's notify, which the
    // workers call too) and CheckFrameWait does.
    bool ResumeWork();
    // Gives up the awaited frame when it has been waited for longer than
    // kFrameWaitLimit at `now`; the front ends call it while a chain runs.
    void CheckFrameWait(Clock::time_point now);
    // Ends the chain without completing it (the video closed).
    void Cancel();
    // The running job's StopAction; empty when none runs.
    std::string StopAction() const;
    // Ends the running job early; it reports what it did and did not do.
    void Stop();

    bool IsRunning() const { return job_ != nullptr; }
    bool Runs(const FrameJob& job) const { return job_ == &job; }

  private:
    // Seeks the current item, going past those that need no frame or whose
    // frame cannot be reached; completes the job past the last. False when
    // the chain ended early.
    bool SeekCurrent();
    // The current item's frame cannot be reached: the job is told, the
    // chain goes on.
    void SkipUnreachable();
    void Advance();
    // Item k's frame is there: the job acts, events go through, the chain
    // advances. False when the chain ended or was ended meanwhile.
    bool ActOnItem();
    // Lets events through for an escapable job. False when the chain ended
    // or was ended meanwhile (Escape ends it).
    bool LetEventsThrough();
    void End(bool completed);

    Player& player_;
    const DocumentPorts& ports_;
    FrameJob* job_ = nullptr;
    int32_t count_ = 0;
    int32_t item_ = 0;
    int retries_ = 0;
    bool progressShown_ = false;
    bool awaitingWork_ = false;  // for pictures made apart (Seek::Pending)
    uint64_t run_ = 0;           // counts the chains started, to tell them apart
    Clock::time_point awaitedSince_;
};

}  // namespace trevanto
