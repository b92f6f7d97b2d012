#include "app/jpeg_export_commands.h"

#include "app/jpeg_messages.h"
#include "app/player_doc.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "video/player_messages.h"

namespace trevanto {

bool JpegExportCommands::ExtractAsJpeg(std::vector<int32_t> items,
                                       const std::optional<std::string>& folder) {
    return Start(std::move(items), true, folder ? JpegOutputFolder(*folder) : OutputFolder(),
                 nullptr);
}

bool JpegExportCommands::StartPublicationExport(std::vector<int32_t> items,
                                                std::function<void()> completed) {
    if (doc_.FrameChainRunning())
        return false;
    counter_ = 1;
    return Start(std::move(items), false, OutputFolder(), std::move(completed));
}

bool JpegExportCommands::Start(std::vector<int32_t> items, bool userExport, std::string folder,
                               std::function<void()> completed) {
    UserPort& user = *doc_.Ports().user;
    if (!doc_.IsOpen()) {
        user.ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    // A running chain keeps its own completion.
    if (doc_.FrameChainRunning() || items.empty())
        return false;
    if (const std::string problem = SizeProblem(); !problem.empty()) {
        user.ShowMessage(problem);
        return false;
    }
    items_ = std::move(items);
    userExport_ = userExport;
    folder_ = std::move(folder);
    lastSavedPath_.clear();
    saved_ = 0;
    publicationCompleted_ = std::move(completed);
    return doc_.Chain().Start(*this, static_cast<int32_t>(items_.size()));
}

bool JpegExportCommands::IsActive() const {
    return doc_.Chain().Runs(*this);
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

FrameJob::Seek JpegExportCommands::SeekItem(int32_t k) {
    if (!doc_.IsOpen()) {
        doc_.Ports().user->ShowMessage(message::kLoadMovieFirst);
        return Seek::Failed;
    }
    // An item whose shot is gone (deleted meanwhile) ends the chain.
    const int32_t item = items_[static_cast<size_t>(k)];
    if (!doc_.Surfaces().Thumbnail() || !doc_.Shots().FindShotByItem(item))
        return Seek::Failed;
    doc_.GoToShot(item, false);
    return Seek::Sought;
}

int32_t JpegExportCommands::WantedFrame(int32_t k) const {
    return doc_.Shots().StartFrameOfItem(items_[static_cast<size_t>(k)]);
}

bool JpegExportCommands::Act(int32_t /*k*/) {
    if (!ScaleFrame())
        return false;
    const std::string path = JoinPath(folder_, JpegImageName(counter_));
    ++counter_;  // also when writing fails
    if (SaveImage(path)) {
        ++saved_;
        lastSavedPath_ = path;
    }
    return true;
}

void JpegExportCommands::Finish(bool completed) {
    // A publication may start another export from its completion.
    const std::function<void()> publicationCompleted = std::move(publicationCompleted_);
    publicationCompleted_ = nullptr;
    if (!completed)
        return;
    if (userExport_) {
        // The report counts what reached the disk, not what was asked for.
        doc_.Ports().user->ShowMessage(JpegExportReport(saved_, lastSavedPath_),
                                       MessageKind::Information);
    } else if (publicationCompleted) {
        publicationCompleted();
    }
}

bool JpegExportCommands::ScaleFrame() {
    const ExportSize size = Size();
    // The work surface grows to the export size (bounded by SizeProblem).
    if (doc_.Surfaces().EnsureWorkSize(size.width, size.height) &&
        ScaleToWorkSurface(doc_.GetPlayer().FrameSurface().get(), doc_.Surfaces().Work(),
                           size.width, size.height)) {
        return true;
    }
    doc_.Ports().user->ShowMessage(
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
            doc_.Ports().user->ShowMessage(message.text, message.kind);
        return false;
    }
    written_.push_back(filePath);
    return true;
}

}  // namespace trevanto
