#include "app/jpeg_export_commands.h"

#include "app/document_messages.h"
#include "app/document_surfaces.h"
#include "app/jpeg_messages.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "publish/publisher.h"
#include "shots/shot_list.h"
#include "video/player.h"

namespace trevanto {

bool JpegExportCommands::ExtractAsJpeg(std::vector<int32_t> items,
                                       const std::optional<std::string>& folder) {
    return Start(std::move(items), true, folder ? JpegOutputFolder(*folder) : OutputFolder(),
                 nullptr);
}

bool JpegExportCommands::StartPublicationExport(std::vector<int32_t> items,
                                                std::function<void()> completed) {
    if (host_.FrameChainRunning())
        return false;
    counter_ = 1;
    return Start(std::move(items), false, OutputFolder(), std::move(completed));
}

bool JpegExportCommands::Start(std::vector<int32_t> items, bool userExport, std::string folder,
                               std::function<void()> completed) {
    UserPort& user = *host_.Ports().user;
    if (!host_.IsOpen()) {
        user.ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    // A running chain keeps its own completion.
    if (host_.FrameChainRunning() || items.empty())
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
    return chain_.Start(*this, static_cast<int32_t>(items_.size()));
}

bool JpegExportCommands::IsActive() const {
    return chain_.Runs(*this);
}

std::string JpegExportCommands::SizeProblem() const {
    return ExportSizeProblem(Size());
}

std::string JpegExportCommands::OutputFolder() const {
    return JpegOutputFolder(publisher_.Options().targetFile);
}

ExportSize JpegExportCommands::Size() const {
    const PublishOptions& options = publisher_.Options();
    return JpegExportSize(options.stretchToFit, options.shotWidth, options.shotHeight);
}

FrameJob::Seek JpegExportCommands::SeekItem(int32_t k) {
    if (!host_.IsOpen()) {
        host_.Ports().user->ShowMessage(message::kLoadMovieFirst);
        return Seek::Failed;
    }
    // An item whose shot is gone (deleted meanwhile) ends the chain.
    const int32_t item = items_[static_cast<size_t>(k)];
    if (!surfaces_.Thumbnail() || !host_.Shots().FindShotByItem(item))
        return Seek::Failed;
    host_.GoToShot(item, false);
    return Seek::Sought;
}

int32_t JpegExportCommands::WantedFrame(int32_t k) const {
    return host_.Shots().StartFrameOfItem(items_[static_cast<size_t>(k)]);
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
        host_.Ports().user->ShowMessage(JpegExportReport(saved_, lastSavedPath_),
                                        MessageKind::Information);
    } else if (publicationCompleted) {
        publicationCompleted();
    }
}

bool JpegExportCommands::ScaleFrame() {
    const ExportSize size = Size();
    // The work surface grows to the export size (bounded by SizeProblem).
    if (surfaces_.EnsureWorkSize(size.width, size.height) &&
        ScaleToWorkSurface(player_.FrameSurface().get(), surfaces_.Work(), size.width,
                           size.height)) {
        return true;
    }
    host_.Ports().user->ShowMessage(
        FormatText("The video frame could not be scaled to %d x %d.", size.width, size.height));
    return false;
}

bool JpegExportCommands::SaveImage(const std::string& filePath) {
    const Surface* work = surfaces_.Work();
    if (!work)
        return false;
    const ExportSize size = Size();
    const JpegWriteResult result =
        SaveSurfaceAsJpeg(filePath, *work, host_.GetShotTemplate(),
                          publisher_.Options().stretchToFit, size.width, size.height);
    if (!result.Written()) {
        if (const JpegMessage message = JpegWriteMessage(result); !message.text.empty())
            host_.Ports().user->ShowMessage(message.text, message.kind);
        return false;
    }
    written_.push_back(filePath);
    return true;
}

}  // namespace trevanto
