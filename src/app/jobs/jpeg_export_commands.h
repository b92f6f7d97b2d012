#pragma once
// Exporting shots as JPEG images from the document: "Extract as jpeg" for the
// selected items, and the images of a publication. Each is a frame job: each
// item's shot start frame is scaled to the size and with the stretching of
// the publishing options and written under the next image number of the
// JPEG counter, in the items' order. In a local file, workers make the
// pictures segment by segment (SegmentFrames), decoding on from each
// segment's key frame; in a stream, or when they cannot, the player seeks
// each item's frame.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/jobs/command_hosts.h"
#include "app/jobs/frame_job_chain.h"
#include "common/atomic_file.h"
#include "export/jpeg_export.h"
#include "video/segment_frames.h"

namespace trevanto {

class DocumentSurfaces;
class Player;
class Publisher;
class Shot;

class JpegExportCommands : private FrameJob {
  public:
    JpegExportCommands(JpegExportHost& host, const Player& player, DocumentSurfaces& surfaces,
                       FrameJobChain& chain, const Publisher& publisher)
        : host_(host), player_(player), surfaces_(surfaces), chain_(chain), publisher_(publisher) {}
    JpegExportCommands(const JpegExportCommands&) = delete;
    JpegExportCommands& operator=(const JpegExportCommands&) = delete;

    // "Extract as jpeg": the items (view item indexes in ascending order)
    // become images numbered on from the JPEG counter, in `folder`, else in
    // the folder of the publication's target file; the user is told where
    // they went. False when the export could not start.
    bool ExtractAsJpeg(std::vector<int32_t> items,
                       const std::optional<std::string>& folder = std::nullopt);
    // The images of a publication, silently, numbered from 1; `completed`
    // runs once the last image is written (never after an abort).
    bool StartPublicationExport(std::vector<int32_t> items, std::function<void()> completed);

    // How many workers make the pictures of a local file (bounded by their
    // memory, SegmentFrames); 0 seeks each item's frame with the player. A
    // job of fewer than `minItems` frames seeks them too: cutting the video
    // (a scan of all of it where it has no index) costs more than a few seeks.
    static constexpr int32_t kMinWorkerItems = 16;
    void SetJobs(int jobs, int32_t minItems = kMinWorkerItems) {
        jobs_ = jobs;
        minWorkerItems_ = minItems;
    }
    int Jobs() const { return jobs_; }
    // The workers a job has unless told otherwise: the cores.
    static int DefaultJobs();

    bool IsActive() const;
    // Every image of the last export was written.
    bool LastExportComplete() const { return saved_ == static_cast<int32_t>(items_.size()); }
    // The number of the next image.
    int32_t Counter() const { return counter_; }
    // The folder the images go to now, from the publication's target file.
    std::string OutputFolder() const;
    // Why images of the options' size cannot be made; empty when they can.
    std::string SizeProblem() const;
    // Every image file written since the document was made, in order.
    const std::vector<std::string>& WrittenImages() const { return written_; }

  private:
    // An item's picture as a worker makes it.
    struct Picture {
        bool scaled = false;
        JpegBytes jpeg;
    };
    // Each item's frame for the workers; -1 for an item that needs none.
    std::vector<int64_t> WorkerFrames() const;
    // Workers start on the items' frames when the video is a local file.
    void StartWorkers();
    bool ScaleFailed();
    // Writes a worker's picture as the next image, into the batch.
    void WriteReady();
    // The batch's images reach their names: counted, or told why not.
    void CommitBatch();

    bool Start(std::vector<int32_t> items, bool userExport, std::string folder,
               std::function<void()> completed);
    ExportSize Size() const;
    bool ScaleFrame();
    bool SaveImage(const std::string& filePath);
    // The image of a shot of another video, from its thumbnail; false when
    // the view has none.
    bool SaveThumbnail(const Shot& shot);
    // Counts a written image, or tells why it was not written.
    bool Written(const JpegWriteResult& result);

    // FrameJob: item k is items_[k].
    std::string ProgressCaption() const override { return "Saving to JPEG"; }
    Seek SeekItem(int32_t k) override;
    int32_t WantedFrame(int32_t k) const override;
    bool Act(int32_t k) override;
    void OnUnreachable(int32_t k) override;
    const char* EscapeMessage() const override { return "Publish to the web aborted."; }
    std::string StopAction() const override;
    void ReportStopped() override;
    void Finish(bool completed) override;

    JpegExportHost& host_;
    const Player& player_;
    DocumentSurfaces& surfaces_;
    FrameJobChain& chain_;
    const Publisher& publisher_;
    int32_t counter_ = 1;
    std::vector<int32_t> items_;
    bool userExport_ = false;
    std::string folder_;
    std::string lastSavedPath_;
    int32_t saved_ = 0;
    int32_t unreachable_ = 0;
    std::function<void()> publicationCompleted_;
    std::vector<std::string> written_;
    int jobs_ = DefaultJobs();
    int32_t minWorkerItems_ = kMinWorkerItems;
    std::unique_ptr<SegmentFrames<Picture>> workers_;
    Picture ready_;  // the picture a worker made for the current item
    // The workers' images are synced a batch at a time (AtomicFileBatch):
    // one wait for the disk serves many files.
    static constexpr size_t kBatchFiles = 32;
    AtomicFileBatch batch_;
    std::vector<std::string> batched_;  // the batch's targets, in order
};

}  // namespace trevanto
