#include "app/jobs/jpeg_export_commands.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "app/document/document_surfaces.h"
#include "app/document/shots_of_video.h"
#include "app/messages/document_messages.h"
#include "app/messages/jpeg_messages.h"
#include "app/messages/stopped_work_messages.h"
#include "common/paths.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "publish/publisher.h"
#include "shots/shot_list.h"
#include "video/player.h"

namespace trevanto {

bool JpegExportCommands::ExtractAsJpeg(std::vector<int32_t> items,
                                       const std::optional<std::string>& folder) {
    if (host_.IsOpen() && !host_.FrameChainRunning()) {
        // The images are the open video's frames: shots of another video
        // are left out.
        LeftOutShots leftOut(player_.OpenedPath());
        std::erase_if(items, [&](int32_t item) {
            const Shot* shot = host_.Shots().FindShotByItem(item);
            return shot && !leftOut.Take(*shot);
        });
        if (const std::string text = leftOut.Message(); !text.empty())
            host_.Ports().user->ShowMessage(text);
    }
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
    unreachable_ = 0;
    publicationCompleted_ = std::move(completed);
    StartWorkers();
    return chain_.Start(*this, static_cast<int32_t>(items_.size()));
}

int JpegExportCommands::DefaultJobs() {
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

std::vector<int64_t> JpegExportCommands::WorkerFrames() const {
    const int32_t frames = player_.FrameCount();
    std::vector<int64_t> wanted;
    wanted.reserve(items_.size());
    for (const int32_t item : items_) {
        const Shot* shot = host_.Shots().FindShotByItem(item);
        // As SeekItem passes them: other videos' shots and frames past the end.
        const bool needed = shot && shot->IsFrom(player_.OpenedPath()) &&
                            !(frames > 0 && shot->startFrame >= frames);
        wanted.push_back(needed ? shot->startFrame : -1);
    }
    return wanted;
}

void JpegExportCommands::StartWorkers() {
    workers_.reset();
    const std::string& path = player_.OpenedPath();
    if (jobs_ <= 0 || !IsRegularFile(path))
        return;
    std::vector<int64_t> frames = WorkerFrames();
    if (std::count_if(frames.begin(), frames.end(), [](int64_t f) { return f >= 0; }) <
        minWorkerItems_)
        return;
    const ExportSize size = Size();
    const bool stretch = publisher_.Options().stretchToFit;
    workers_ = std::make_unique<SegmentFrames<Picture>>(
        SegmentFrames<Picture>::Setup{path, std::move(frames), jobs_, kSegmentFrames,
                                      player_.GraphNotify()},
        [size, stretch, shotTemplate = host_.GetShotTemplate()](int64_t, const Surface& frame) {
            // Each call has its own copies: the workers share nothing.
            const ShotTemplate frameTemplate = shotTemplate;
            Surface work(size.width, size.height);
            Picture picture;
            picture.scaled = ScaleToWorkSurface(&frame, &work, size.width, size.height);
            if (picture.scaled)
                picture.jpeg =
                    EncodeSurfaceAsJpeg(work, frameTemplate, stretch, size.width, size.height);
            return picture;
        });
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
    const Shot* shot = host_.Shots().FindShotByItem(item);
    if (!surfaces_.Thumbnail() || !shot)
        return Seek::Failed;
    // A publication shows the shots of other videos with their own pictures.
    if (!shot->IsFrom(player_.OpenedPath()))
        return SaveThumbnail(*shot) ? Seek::Skipped : Seek::Unreachable;
    const int32_t frames = player_.FrameCount();
    if (frames > 0 && shot->startFrame >= frames)
        return Seek::Unreachable;
    if (workers_) {
        // Not ready: the chain comes back when the workers wake the owner.
        switch (workers_->Take(static_cast<size_t>(k), std::chrono::milliseconds(0), ready_)) {
            case SegmentFrames<Picture>::State::Ready:
                return Seek::Ready;
            case SegmentFrames<Picture>::State::Pending:
                return Seek::Pending;
            case SegmentFrames<Picture>::State::Unreachable:
                return Seek::Unreachable;
            case SegmentFrames<Picture>::State::Failed:
                // The workers could not cut the video: the player seeks.
                workers_.reset();
                break;
        }
    }
    return host_.GoToShot(item, false) ? Seek::Sought : Seek::Unreachable;
}

void JpegExportCommands::OnUnreachable(int32_t /*k*/) {
    // The number is used up all the same: a publication's pages name each
    // shot's image by its place.
    ++counter_;
    ++unreachable_;
}

bool JpegExportCommands::SaveThumbnail(const Shot& shot) {
    const QImage thumbnail = host_.Ports().view->Thumbnail(shot.imageIndex);
    if (thumbnail.isNull())
        return false;
    const ExportSize size = Size();
    const std::string path = JoinPath(folder_, JpegImageName(counter_));
    ++counter_;
    const JpegWriteResult result = SaveThumbnailAsJpeg(path, thumbnail, size.width, size.height);
    Written(result);
    return true;
}

std::string JpegExportCommands::StopAction() const {
    return trevanto::StopAction(userExport_ ? FrameWork::JpegImages : FrameWork::Publication);
}

void JpegExportCommands::ReportStopped() {
    host_.Ports().user->ShowMessage(
        StoppedReport(userExport_ ? FrameWork::JpegImages : FrameWork::Publication, saved_,
                      static_cast<int32_t>(items_.size())));
}

int32_t JpegExportCommands::WantedFrame(int32_t k) const {
    return host_.Shots().StartFrameOfItem(items_[static_cast<size_t>(k)]);
}

bool JpegExportCommands::Act(int32_t /*k*/) {
    if (workers_) {
        if (!ready_.scaled)
            return ScaleFailed();
        WriteReady();
        return true;
    }
    if (!ScaleFrame())
        return false;
    const std::string path = JoinPath(folder_, JpegImageName(counter_));
    ++counter_;  // also when writing fails
    SaveImage(path);
    return true;
}

void JpegExportCommands::Finish(bool completed) {
    workers_.reset();  // ends and joins them
    CommitBatch();
    // A publication may start another export from its completion.
    const std::function<void()> publicationCompleted = std::move(publicationCompleted_);
    publicationCompleted_ = nullptr;
    if (!completed)
        return;
    const std::string unreachable = JpegUnreachableNote(unreachable_);
    if (userExport_) {
        // The report counts what reached the disk, not what was asked for.
        std::string report = JpegExportReport(saved_, lastSavedPath_);
        if (!unreachable.empty())
            report += "\n" + unreachable;
        host_.Ports().user->ShowMessage(
            report, unreachable.empty() ? MessageKind::Information : MessageKind::Warning);
    } else if (publicationCompleted) {
        if (!unreachable.empty())
            host_.Ports().user->ShowMessage(unreachable);
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
    return ScaleFailed();
}

void JpegExportCommands::WriteReady() {
    const std::string path = JoinPath(folder_, JpegImageName(counter_));
    ++counter_;  // also when writing fails
    const JpegBytes jpeg = std::exchange(ready_, {}).jpeg;
    if (jpeg.error != JpegError::None) {
        Written({jpeg.error, path, jpeg.libraryText});
        return;
    }
    switch (batch_.Add(path, jpeg.bytes)) {
        case AtomicFileBatch::Added::Kept:
            batched_.push_back(path);
            break;
        case AtomicFileBatch::Added::CannotOpen:
            Written({JpegError::CannotOpen, path, {}});
            break;
        case AtomicFileBatch::Added::WriteFailed:
            Written({JpegError::WriteFailed, path, {}});
            break;
    }
    if (batch_.Size() >= kBatchFiles)
        CommitBatch();
}

void JpegExportCommands::CommitBatch() {
    const std::vector<bool> renamed = batch_.Commit();
    const std::vector<std::string> paths = std::exchange(batched_, {});
    for (size_t i = 0; i < paths.size(); ++i)
        Written({renamed[i] ? JpegError::None : JpegError::WriteFailed, paths[i], {}});
}

bool JpegExportCommands::ScaleFailed() {
    const ExportSize size = Size();
    host_.Ports().user->ShowMessage(
        FormatText("The video frame could not be scaled to %d x %d.", size.width, size.height));
    return false;
}

bool JpegExportCommands::SaveImage(const std::string& filePath) {
    const Surface* work = surfaces_.Work();
    if (!work)
        return false;
    const ExportSize size = Size();
    return Written(SaveSurfaceAsJpeg(filePath, *work, host_.GetShotTemplate(),
                                     publisher_.Options().stretchToFit, size.width, size.height));
}

bool JpegExportCommands::Written(const JpegWriteResult& result) {
    if (!result.Written()) {
        if (const JpegMessage message = JpegWriteMessage(result); !message.text.empty())
            host_.Ports().user->ShowTitledMessage(message.title, message.text, message.kind);
        return false;
    }
    written_.push_back(result.file);
    ++saved_;
    lastSavedPath_ = result.file;
    return true;
}

}  // namespace trevanto
