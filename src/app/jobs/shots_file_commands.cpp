#include "app/jobs/shots_file_commands.h"

#include <utility>

#include "app/document/document_surfaces.h"
#include "app/document/shots_of_video.h"
#include "app/messages/document_messages.h"
#include "app/messages/shots_file_messages.h"
#include "app/messages/stopped_work_messages.h"
#include "common/text_format.h"
#include "export/shots_file.h"
#include "shots/shot_list.h"
#include "video/player.h"

namespace trevanto {

bool ShotsFileCommands::SaveShots() {
    UserPort& user = *host_.Ports().user;
    if (!host_.IsOpen()) {
        user.ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    // Refused before the user chooses a file: the line-based file cannot hold it.
    if (!ShotsFileCanName(player_.OpenedPath())) {
        user.ShowMessage(ShotsFileSaveMessage(ShotsFileSaveStatus::PathWithLineBreak));
        return false;
    }
    // Said before the dialog; the file is still written, with the header only.
    const bool empty = host_.Shots().IsEmpty();
    if (empty)
        user.ShowMessage(ShotsFileSaveMessage(ShotsFileSaveStatus::NoShots));
    // The file names the open video: the shots of others cannot go into it.
    LeftOutShots leftOut(player_.OpenedPath());
    for (const auto& shot : host_.Shots())
        leftOut.Take(*shot);
    if (const std::string text = leftOut.Message(); !text.empty())
        user.ShowMessage(text);
    if (!empty && leftOut.NoneLeft())
        return false;
    const auto path = user.ChooseFile(FileDialogKind::Save, kShotsFileFilter, kShotsFileExtension);
    if (!path)
        return false;
    ProgressPort& progress = *host_.Ports().progress;
    progress.BeginProgress("Saving");
    const ShotsFileSaveStatus status = SaveShotsFile(
        *path, player_.OpenedPath(), CopyShotsFrom(host_.Shots(), player_.OpenedPath()),
        [&progress](int32_t position) { progress.SetProgress(position); });
    progress.EndProgress();
    if (status == ShotsFileSaveStatus::CannotCreate ||
        status == ShotsFileSaveStatus::PathWithLineBreak) {
        user.ShowMessage(ShotsFileSaveMessage(status));
        return false;
    }
    // Shots left out are still unsaved.
    if (leftOut.LeftOut() == 0)
        host_.SetShotsModified(false);
    return true;
}

void ShotsFileCommands::LoadShots() {
    // One chain of frame jobs at a time.
    if (host_.FrameChainRunning())
        return;
    const auto path =
        host_.Ports().user->ChooseFile(FileDialogKind::Open, kShotsFileFilter, kShotsFileExtension);
    if (path)
        LoadShotsFile(*path);
}

bool ShotsFileCommands::LoadShotsFile(const std::string& path) {
    UserPort& user = *host_.Ports().user;
    ShotsFileReader reader;
    if (const ShotsFileOpenStatus status = reader.Open(path); status != ShotsFileOpenStatus::Ok) {
        user.ShowMessage(ShotsFileOpenMessage(status, path));
        return false;
    }
    // The records are read before the video opens, so that a file refused
    // for its size leaves the video shown as it was.
    ProgressPort& progress = *host_.Ports().progress;
    PendingShotList records;
    progress.BeginProgress("Loading");
    const ShotsFileOpenStatus read = reader.ReadRecords(
        records, [&progress](int32_t position) { progress.SetProgress(position); });
    progress.EndProgress();
    if (read != ShotsFileOpenStatus::Ok) {
        user.ShowMessage(ShotsFileOpenMessage(read, path));
        return false;
    }
    // Loading opens the file's video: work running on this one is stopped
    // first, if the user agrees.
    if (!host_.MayOpen(path))
        return false;
    // The open reports its own failures. A refused open leaves the previous
    // video open, whose frames are not the ones the records describe.
    if (!host_.OpenVideo(reader.VideoPath()))
        return false;
    player_.Pause();
    if (!host_.IsOpen())
        return false;
    pending_ = std::move(records);
    // Undoing the load takes its shots away again.
    const bool intoEmpty = host_.Shots().IsEmpty();
    host_.RecordShotsEdit({ShotEditKind::Load});
    // Shots rebuilt into an empty list are the file's: nothing is unsaved.
    // Appended to shots shown, they leave those as they were.
    if (intoEmpty)
        host_.SetShotsModified(false);
    total_ = pending_.ShotCount();
    rebuilt_ = 0;
    fromFile_ = true;
    chain_.Start(*this, total_);
    return true;
}

void ShotsFileCommands::RebuildShots(std::vector<Shot> records) {
    pending_.Clear();
    for (Shot& record : records)
        pending_.Append(std::make_unique<Shot>(std::move(record)));
    total_ = pending_.ShotCount();
    rebuilt_ = 0;
    fromFile_ = false;
    chain_.Start(*this, total_);
}

bool ShotsFileCommands::IsRebuilding() const {
    return chain_.Runs(*this);
}

void ShotsFileCommands::Begin() {
    host_.Ports().view->SetPaintingLocked(true);
}

FrameJob::Seek ShotsFileCommands::SeekItem(int32_t /*k*/) {
    const Shot& head = *pending_.At(0);
    Player& player = player_;
    // No seek is made for it; the following records still get their turn.
    if (!IsRebuildableRecord(head, player.FrameCount()))
        return Seek::Unreachable;
    if (!host_.IsOpen()) {
        host_.Ports().user->ShowMessage(message::kLoadMovieFirst);
        return Seek::Failed;
    }
    if (!surfaces_.IsSetUp())
        return Seek::Failed;
    // A record may name the frame count itself; no frame of that number
    // comes, so the last frame stands in for it.
    const int32_t last = player.FrameCount() - 1;
    return player.SeekToFrame(head.imageFrame > last ? last : head.imageFrame) ? Seek::Sought
                                                                               : Seek::Unreachable;
}

void ShotsFileCommands::OnUnreachable(int32_t /*k*/) {
    pending_.TakeHead();
    host_.Ports().user->ShowMessage(kWrongShotMessage);
}

std::string ShotsFileCommands::StopAction() const {
    return trevanto::StopAction(fromFile_ ? FrameWork::ShotsFileLoad : FrameWork::Recut);
}

void ShotsFileCommands::ReportStopped() {
    host_.Ports().user->ShowMessage(
        StoppedReport(fromFile_ ? FrameWork::ShotsFileLoad : FrameWork::Recut, rebuilt_, total_));
}

int32_t ShotsFileCommands::WantedFrame(int32_t /*k*/) const {
    return pending_.At(0)->imageFrame;
}

bool ShotsFileCommands::ItemGone(int32_t /*k*/) const {
    // "Delete shots" empties the queue while its frame is on the way.
    return pending_.IsEmpty();
}

bool ShotsFileCommands::Act(int32_t /*k*/) {
    const Shot head = *pending_.At(0);
    if (host_.ScaleToThumbnail() && host_.CaptureShot(true, head.startFrame, head.endFrame, -1))
        ++rebuilt_;
    pending_.TakeHead();
    return true;
}

void ShotsFileCommands::Finish(bool completed) {
    // An early end drops the records still queued.
    pending_.Clear();
    if (completed && fromFile_) {
        host_.Ports().user->ShowMessage(
            FormatText("%ld shots extracted from the shots file.", static_cast<long>(rebuilt_)),
            MessageKind::Information);
    }
    host_.Ports().view->SetPaintingLocked(false);
}

}  // namespace trevanto
