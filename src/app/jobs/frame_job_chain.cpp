#include "app/jobs/frame_job_chain.h"

#include <utility>

#include "app/document/player_doc.h"
#include "export/shots_file.h"
#include "video/player.h"

namespace trevanto {

bool FrameJobChain::Start(FrameJob& job, int32_t count) {
    if (job_ || count <= 0)
        return false;
    job_ = &job;
    count_ = count;
    item_ = 0;
    ++run_;
    progressShown_ = count > 1;
    job.Begin();
    if (progressShown_) {
        ports_.progress->BeginProgress(job.ProgressCaption());
        ports_.progress->SetProgress(0);
    }
    return SeekCurrent();
}

bool FrameJobChain::SeekCurrent() {
    const uint64_t run = run_;
    while (item_ < count_) {
        retries_ = 0;
        const FrameJob::Seek seek = job_->SeekItem(item_);
        // A message of the job let events through, which may have ended this
        // chain (another video opened): it then stays ended.
        if (run != run_ || !job_)
            return false;
        switch (seek) {
            case FrameJob::Seek::Sought:
                player_.AwaitFrame();
                awaitedSince_ = Clock::now();
                return true;
            case FrameJob::Seek::Failed:
                End(false);
                return false;
            case FrameJob::Seek::Unreachable:
                job_->OnUnreachable(item_);
                if (run != run_ || !job_)
                    return false;
                Advance();
                break;
            case FrameJob::Seek::Skipped:
                Advance();
                break;
            // Ended here by the job's Act or the user's events, it ran all
            // the same.
            case FrameJob::Seek::Ready:
                if (!ActOnItem())
                    return true;
                break;
            case FrameJob::Seek::Pending:
                // Back to the event loop until the workers made more.
                awaitingWork_ = true;
                return true;
        }
    }
    End(true);
    return true;
}

void FrameJobChain::Advance() {
    ++item_;
    if (progressShown_)
        ports_.progress->SetProgress(ProgressPosition(item_, count_));
}

void FrameJobChain::SkipUnreachable() {
    const uint64_t run = run_;
    job_->OnUnreachable(item_);
    if (run != run_ || !job_)
        return;
    Advance();
    SeekCurrent();
}

void FrameJobChain::OnFrameArrived() {
    if (!job_)
        return;
    if (job_->ItemGone(item_)) {
        End(false);
        return;
    }
    const int32_t wanted = job_->WantedFrame(item_);
    if (wanted >= 0 && player_.CurrentFrame() != wanted && retries_ < kMaxRetries) {
        // Another frame came first (one decoded before the seek): ask again.
        ++retries_;
        switch (job_->SeekItem(item_)) {
            case FrameJob::Seek::Sought:
                player_.AwaitFrame();
                awaitedSince_ = Clock::now();
                job_->OnOtherFrame(item_);
                return;
            case FrameJob::Seek::Unreachable:
                SkipUnreachable();
                return;
            case FrameJob::Seek::Skipped:
            case FrameJob::Seek::Failed:
            case FrameJob::Seek::Ready:  // a job whose pictures are made apart seeks none
            case FrameJob::Seek::Pending:
                End(false);
                return;
        }
    }
    if (ActOnItem())
        SeekCurrent();
}

bool FrameJobChain::ActOnItem() {
    const uint64_t run = run_;
    const bool acted = job_->Act(item_);
    if (run != run_ || !job_)
        return false;
    if (!acted) {
        End(false);
        return false;
    }
    if (!LetEventsThrough())
        return false;
    Advance();
    return true;
}

bool FrameJobChain::LetEventsThrough() {
    const char* abortMessage = job_->EscapeMessage();
    if (!abortMessage)
        return true;
    const uint64_t run = run_;
    const bool escape = ports_.user->PumpEventsAndCheckEscape(kEventsPerItem);
    // The events let through may have ended this chain and even started
    // another: this one then ends silently.
    if (run != run_ || !job_)
        return false;
    if (escape) {
        ports_.user->ShowMessage(abortMessage);
        End(false);
        return false;
    }
    return true;
}

void FrameJobChain::OnFrameMissed() {
    if (!job_)
        return;
    if (job_->ItemGone(item_)) {
        End(false);
        return;
    }
    SkipUnreachable();
}

bool FrameJobChain::ResumeWork() {
    if (!job_ || !awaitingWork_)
        return false;
    awaitingWork_ = false;
    const uint64_t run = run_;
    const int32_t item = item_;
    SeekCurrent();
    // Still waiting for the same item is no progress: the owner waits to be
    // woken rather than asking again at once.
    return run != run_ || !job_ || item_ != item;
}

void FrameJobChain::CheckFrameWait(Clock::time_point now) {
    if (ResumeWork())
        return;
    if (!job_ || !player_.FrameAwaited() || now - awaitedSince_ < kFrameWaitLimit)
        return;
    // A frame that comes after all is presented, not taken for the next item.
    player_.CancelAwait();
    OnFrameMissed();
}

void FrameJobChain::Cancel() {
    if (job_)
        End(false);
}

std::string FrameJobChain::StopAction() const {
    return job_ ? job_->StopAction() : std::string();
}

void FrameJobChain::Stop() {
    if (!job_)
        return;
    FrameJob* job = job_;
    End(false);
    job->ReportStopped();
}

void FrameJobChain::End(bool completed) {
    FrameJob* job = std::exchange(job_, nullptr);
    awaitingWork_ = false;
    player_.CancelAwait();
    if (progressShown_)
        ports_.progress->EndProgress();
    progressShown_ = false;
    // The job may start another chain from here (a publication's pages).
    job->Finish(completed);
}

}  // namespace trevanto
