#include "app/shots_file_commands.h"

#include "app/player_doc.h"
#include "export/shots_file.h"
#include "video/player_messages.h"

namespace trevanto {

ShotsFileCommands::ShotsFileCommands(CPlayerDoc& doc)
    : doc_(doc), rebuild_(doc.PendingShots(), *this) {
    doc_.SetFrameRequestHandler(FrameRequestKind::NextPendingShot,
                                [this](const FrameRequest&) { OnFrameArrived(); });
}

bool ShotsFileCommands::SaveShots() {
    if (!doc_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    // Said before the dialog; the file is still written, with the header only.
    const bool empty = doc_.Shots().IsEmpty();
    if (empty)
        ShowMessage("No Shot to save.");
    UserPort* user = doc_.Ports().user;
    const auto path =
        user ? user->ChooseFile(FileDialogKind::Save, kShotsFileFilter, kShotsFileExtension)
             : std::nullopt;
    if (!path)
        return false;
    BeginProgress("Saving");
    const ShotsFileSaveResult result =
        SaveShotsFile(*path, doc_.GetPlayer().OpenedPath(), doc_.Shots(),
                      [this](int32_t position) { SetProgress(position); });
    EndProgress();
    for (const std::string& text : result.messages) {
        if (!(empty && text == "No Shot to save."))
            ShowMessage(text);
    }
    if (result.written)
        doc_.SetShotsModified(false);
    return result.written;
}

void ShotsFileCommands::LoadShots() {
    // One chain of frame requests at a time.
    if (doc_.FrameChainRunning())
        return;
    UserPort* user = doc_.Ports().user;
    const auto path =
        user ? user->ChooseFile(FileDialogKind::Open, kShotsFileFilter, kShotsFileExtension)
             : std::nullopt;
    if (path)
        LoadShotsFile(*path);
}

bool ShotsFileCommands::LoadShotsFile(const std::string& path) {
    if (doc_.FrameChainRunning())
        return false;
    ShotsFileReader reader;
    std::string problem;
    if (!reader.Open(path, problem)) {
        ShowMessage(problem);
        return false;
    }
    // The open reports its own failures. A refused open leaves the previous
    // video open, whose frames are not the ones the records describe.
    if (!doc_.OpenVideo(reader.VideoPath()))
        return false;
    doc_.GetPlayer().Pause();
    if (!doc_.IsOpen())
        return false;
    BeginProgress("Loading");
    reader.ReadRecords(doc_.PendingShots(), [this](int32_t position) { SetProgress(position); });
    EndProgress();
    // Shots rebuilt into an empty list are the file's: nothing is unsaved.
    // Appended to shots shown, they leave those as they were.
    if (doc_.Shots().IsEmpty())
        doc_.SetShotsModified(false);
    rebuild_.Start();
    return true;
}

void ShotsFileCommands::OnFrameArrived() {
    // "Delete shots" empties the queue while its frame is on the way.
    if (doc_.PendingShots().IsEmpty()) {
        rebuild_.Cancel();
        return;
    }
    rebuild_.OnFrameArrived(doc_.GetPlayer().CurrentFrame());
}

void ShotsFileCommands::ShowMessage(const std::string& text) {
    if (UserPort* user = doc_.Ports().user)
        user->ShowMessage(text, MessageKind::Warning);
}

void ShotsFileCommands::ShowInformation(const std::string& text) {
    if (UserPort* user = doc_.Ports().user)
        user->ShowMessage(text, MessageKind::Information);
}

int32_t ShotsFileCommands::FrameCount() const {
    return doc_.GetPlayer().FrameCount();
}

bool ShotsFileCommands::RequestRecordFrame(int32_t startFrame, int32_t imageFrame,
                                           int32_t endFrame) {
    if (!doc_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    if (!doc_.Surfaces().Thumbnail())
        return false;
    FrameRequest request;
    request.kind = FrameRequestKind::NextPendingShot;
    request.start = startFrame;
    request.imageFrame = imageFrame;
    request.end = endFrame;
    // A record may name the frame count itself; no frame of that number
    // comes, so the last frame stands in for it.
    const int32_t last = FrameCount() - 1;
    return doc_.GetPlayer().RequestFrame(request, imageFrame > last ? last : imageFrame);
}

bool ShotsFileCommands::CaptureRecordShot(int32_t startFrame, int32_t endFrame) {
    if (!doc_.ScaleToThumbnail())
        return false;
    return doc_.CaptureShot(true, startFrame, endFrame);
}

void ShotsFileCommands::BeginProgress(const std::string& caption) {
    if (ProgressPort* progress = doc_.Ports().progress)
        progress->BeginProgress(caption);
}

void ShotsFileCommands::SetProgress(int32_t position) {
    if (ProgressPort* progress = doc_.Ports().progress)
        progress->SetProgress(position);
}

void ShotsFileCommands::EndProgress() {
    if (ProgressPort* progress = doc_.Ports().progress)
        progress->EndProgress();
}

void ShotsFileCommands::SetViewLocked(bool locked) {
    if (ShotViewPort* view = doc_.Ports().view)
        view->SetPaintingLocked(locked);
}

}  // namespace trevanto
