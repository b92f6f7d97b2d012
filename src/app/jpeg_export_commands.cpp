#include "app/jpeg_export_commands.h"

#include "app/jpeg_messages.h"
#include "app/player_doc.h"
#include "common/text_format.h"
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

bool JpegExportCommands::ExtractAsJpeg(std::vector<int32_t> items,
                                       const std::optional<std::string>& folder) {
    return Start(std::move(items), true, folder ? JpegOutputFolder(*folder) : OutputFolder(),
                 nullptr);
}

bool JpegExportCommands::StartPublicationExport(std::vector<int32_t> items,
                                                std::function<void()> completed) {
    return Start(std::move(items), false, OutputFolder(), std::move(completed));
}

bool JpegExportCommands::Start(std::vector<int32_t> items, bool userExport, std::string folder,
                               std::function<void()> completed) {
    if (!doc_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    // A running chain keeps its own completion.
    if (!doc_.Ports().view || doc_.FrameChainRunning())
        return false;
    if (const std::string problem = SizeProblem(); !problem.empty()) {
        ShowMessage(problem);
        return false;
    }
    publicationCompleted_ = std::move(completed);
    if (chain_.Start(std::move(items), userExport, std::move(folder)))
        return true;
    publicationCompleted_ = nullptr;
    return false;
}

std::string JpegExportCommands::SizeProblem() const {
    return ExportSizeProblem(Size());
}

std::string JpegExportCommands::OutputFolder() const {
    return JpegOutputFolder(doc_.GetPublisher().Options().targetFile);
}

ExportSize JpegExportCommands::Size() const {
    const PublishOptions& options = doc_.GetPublisher().Options();
    return JpegExportSize(options.stretchToFit, options.shotWidth, options.shotHeight);
}

void JpegExportCommands::ShowMessage(const std::string& text) {
    Show(text, MessageKind::Warning);
}

void JpegExportCommands::ShowInformation(const std::string& text) {
    Show(text, MessageKind::Information);
}

void JpegExportCommands::Show(const std::string& text, MessageKind kind) {
    if (UserPort* user = doc_.Ports().user)
        user->ShowMessage(text, kind);
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
    // The work surface grows to the export size (bounded by SizeProblem).
    if (doc_.Surfaces().EnsureWorkSize(size.width, size.height) &&
        ScaleToWorkSurface(doc_.GetPlayer().FrameSurface().get(), doc_.Surfaces().Work(),
                           size.width, size.height)) {
        return true;
    }
    ShowMessage(
        FormatText("The video frame could not be scaled to %d x %d.", size.width, size.height));
    return false;
}

bool JpegExportCommands::SaveImage(const std::string& filePath) {
    const Surface* work = doc_.Surfaces().Work();
    if (!work)
        return false;
    const ExportSize size = Size();
    const JpegWriteResult result =
        SaveSurfaceAsJpeg(filePath, *work, doc_.GetShotTemplate(),
                          doc_.GetPublisher().Options().stretchToFit, size.width, size.height);
    if (!result.Written()) {
        if (const JpegMessage message = JpegWriteMessage(result); !message.text.empty())
            Show(message.text, message.kind);
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
