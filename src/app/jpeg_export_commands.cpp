#include "app/jpeg_export_commands.h"

#include "app/player_doc.h"
#include "video/player_messages.h"

namespace trevanto {

JpegExportCommands::JpegExportCommands(CPlayerDoc& doc)
    : doc_(doc), chain_(*this, doc.JpegCounter()) {
    const auto arrived = [this](const FrameRequest&) {
        chain_.OnFrameArrived(doc_.GetPlayer().CurrentFrame());
    };
    doc_.SetFrameRequestHandler(FrameRequestKind::JpegExport, arrived);
    doc_.SetFrameRequestHandler(FrameRequestKind::PublishImage, arrived);
}

bool JpegExportCommands::ExtractAsJpeg(std::vector<int32_t> items) {
    publicationCompleted_ = nullptr;
    return Start(std::move(items), true);
}

bool JpegExportCommands::StartPublicationExport(std::vector<int32_t> items,
                                                std::function<void()> completed) {
    publicationCompleted_ = std::move(completed);
    if (Start(std::move(items), false))
        return true;
    publicationCompleted_ = nullptr;
    return false;
}

bool JpegExportCommands::Start(std::vector<int32_t> items, bool userExport) {
    if (!doc_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    if (!doc_.Ports().view || doc_.FrameChainRunning())
        return false;
    return chain_.Start(std::move(items), userExport, OutputFolder());
}

std::string JpegExportCommands::OutputFolder() const {
    return JpegOutputFolder(doc_.GetPublisher().Options().targetFile);
}

ExportSize JpegExportCommands::Size() const {
    const PublishOptions& options = doc_.GetPublisher().Options();
    return JpegExportSize(options.stretchToFit, options.shotWidth, options.shotHeight);
}

void JpegExportCommands::ShowMessage(const std::string& text) {
    if (UserPort* user = doc_.Ports().user)
        user->ShowMessage(text);
}

bool JpegExportCommands::RequestItemFrame(int32_t item, bool userExport) {
    if (!doc_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    // An item whose shot is gone (deleted meanwhile) ends the chain.
    if (!doc_.Surfaces().Thumbnail() || !doc_.Shots().FindShotByItem(item))
        return false;
    FrameRequest request;
    request.kind = userExport ? FrameRequestKind::JpegExport : FrameRequestKind::PublishImage;
    request.item = item;
    doc_.GetPlayer().SetFrameRequest(request);
    doc_.GoToShot(item, false);
    return true;
}

int32_t JpegExportCommands::StartFrameOfItem(int32_t item) const {
    return doc_.Shots().StartFrameOfItem(item);
}

bool JpegExportCommands::ScaleFrame() {
    if (!doc_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    const ExportSize size = Size();
    return ScaleToWorkSurface(doc_.GetPlayer().FrameSurface().get(), doc_.Surfaces().Work(),
                              size.width, size.height);
}

bool JpegExportCommands::SaveImage(const std::string& filePath) {
    const Surface* work = doc_.Surfaces().Work();
    if (!work)
        return false;
    const ExportSize size = Size();
    const JpegWriteResult result =
        SaveSurfaceAsJpeg(filePath, *work, doc_.GetShotTemplate(),
                          doc_.GetPublisher().Options().stretchToFit, size.width, size.height);
    if (!result.written) {
        if (!result.message.empty())
            ShowMessage(result.message);
        return false;
    }
    written_.push_back(filePath);
    return true;
}

bool JpegExportCommands::PumpEventsAndCheckEscape(int maxEvents) {
    UserPort* user = doc_.Ports().user;
    return user && user->PumpEventsAndCheckEscape(maxEvents);
}

void JpegExportCommands::BeginProgress(const std::string& caption) {
    if (ProgressPort* progress = doc_.Ports().progress)
        progress->BeginProgress(caption);
}

void JpegExportCommands::SetProgress(int32_t position) {
    if (ProgressPort* progress = doc_.Ports().progress)
        progress->SetProgress(position);
}

void JpegExportCommands::EndProgress() {
    if (ProgressPort* progress = doc_.Ports().progress)
        progress->EndProgress();
}

void JpegExportCommands::ExportCompleted(bool userExport, const std::string& /*report*/) {
    if (userExport)
        return;
    // The publication may start another export from here.
    const std::function<void()> completed = std::move(publicationCompleted_);
    publicationCompleted_ = nullptr;
    if (completed)
        completed();
}

}  // namespace trevanto
