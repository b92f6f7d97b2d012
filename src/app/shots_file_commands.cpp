#include "app/shots_file_commands.h"

#include "app/player_doc.h"
#include "app/shots_file_messages.h"
#include "common/text_format.h"
#include "export/shots_file.h"
#include "video/player_messages.h"

namespace trevanto {

bool ShotsFileCommands::SaveShots() {
    UserPort& user = *doc_.Ports().user;
    if (!doc_.IsOpen()) {
        user.ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    // Said before the dialog; the file is still written, with the header only.
    const bool empty = doc_.Shots().IsEmpty();
    if (empty)
        user.ShowMessage(ShotsFileSaveMessage(ShotsFileSaveStatus::NoShots));
    const auto path = user.ChooseFile(FileDialogKind::Save, kShotsFileFilter, kShotsFileExtension);
    if (!path)
        return false;
    ProgressPort& progress = *doc_.Ports().progress;
    progress.BeginProgress("Saving");
    const ShotsFileSaveStatus status =
        SaveShotsFile(*path, doc_.GetPlayer().OpenedPath(), doc_.Shots(),
                      [&progress](int32_t position) { progress.SetProgress(position); });
    progress.EndProgress();
    if (status == ShotsFileSaveStatus::CannotCreate) {
        user.ShowMessage(ShotsFileSaveMessage(status));
        return false;
    }
    doc_.SetShotsModified(false);
    return true;
}

void ShotsFileCommands::LoadShots() {
    // One chain of frame jobs at a time.
    if (doc_.FrameChainRunning())
        return;
    const auto path =
        doc_.Ports().user->ChooseFile(FileDialogKind::Open, kShotsFileFilter, kShotsFileExtension);
    if (path)
        LoadShotsFile(*path);
}

bool ShotsFileCommands::LoadShotsFile(const std::string& path) {
    if (doc_.FrameChainRunning())
        return false;
    ShotsFileReader reader;
    if (const ShotsFileOpenStatus status = reader.Open(path); status != ShotsFileOpenStatus::Ok) {
        doc_.Ports().user->ShowMessage(ShotsFileOpenMessage(status, path));
        return false;
    }
    // The open reports its own failures. A refused open leaves the previous
    // video open, whose frames are not the ones the records describe.
    if (!doc_.OpenVideo(reader.VideoPath()))
        return false;
    doc_.GetPlayer().Pause();
    if (!doc_.IsOpen())
        return false;
    ProgressPort& progress = *doc_.Ports().progress;
    progress.BeginProgress("Loading");
    reader.ReadRecords(doc_.Pending(),
                       [&progress](int32_t position) { progress.SetProgress(position); });
    progress.EndProgress();
    // Shots rebuilt into an empty list are the file's: nothing is unsaved.
    // Appended to shots shown, they leave those as they were.
    if (doc_.Shots().IsEmpty())
        doc_.SetShotsModified(false);
    total_ = doc_.Pending().ShotCount();
    rebuilt_ = 0;
    doc_.Chain().Start(*this, total_);
    return true;
}

bool ShotsFileCommands::IsRebuilding() const {
    return doc_.Chain().Runs(*this);
}

void ShotsFileCommands::Begin() {
    doc_.Ports().view->SetPaintingLocked(true);
}

FrameJob::Seek ShotsFileCommands::SeekItem(int32_t /*k*/) {
    const Shot& head = *doc_.Pending().At(0);
    Player& player = doc_.GetPlayer();
    if (!IsRebuildableRecord(head, player.FrameCount())) {
        // No seek is made for it; the following records still get their turn.
        doc_.Pending().TakeHead();
        doc_.Ports().user->ShowMessage(kWrongShotMessage);
        return Seek::Skipped;
    }
    if (!doc_.IsOpen()) {
        doc_.Ports().user->ShowMessage(message::kLoadMovieFirst);
        return Seek::Failed;
    }
    if (!doc_.Surfaces().Thumbnail())
        return Seek::Failed;
    // A record may name the frame count itself; no frame of that number
    // comes, so the last frame stands in for it.
    const int32_t last = player.FrameCount() - 1;
    player.SeekToFrame(head.imageFrame > last ? last : head.imageFrame);
    return Seek::Sought;
}

int32_t ShotsFileCommands::WantedFrame(int32_t /*k*/) const {
    return doc_.Pending().At(0)->imageFrame;
}

bool ShotsFileCommands::ItemGone(int32_t /*k*/) const {
    // "Delete shots" empties the queue while its frame is on the way.
    return doc_.Pending().IsEmpty();
}

bool ShotsFileCommands::Act(int32_t /*k*/) {
    const Shot head = *doc_.Pending().At(0);
    if (doc_.ScaleToThumbnail() && doc_.CaptureShot(true, head.startFrame, head.endFrame))
        ++rebuilt_;
    doc_.Pending().TakeHead();
    return true;
}

void ShotsFileCommands::Finish(bool completed) {
    // An early end drops the records still queued.
    doc_.Pending().Clear();
    if (completed) {
        doc_.Ports().user->ShowMessage(
            FormatText("%ld shots extracted from the shots file.", static_cast<long>(rebuilt_)),
            MessageKind::Information);
    }
    doc_.Ports().view->SetPaintingLocked(false);
}

}  // namespace trevanto
