#pragma once
// Exporting shots as JPEG images from the document: "Extract as jpeg" for the
// selected items, and the images of a publication. The images are made
// through frame requests of kind 1 (the user's export) or 4 (a publication),
// at the size and with the stretching of the publishing options, numbered by
// the document's JPEG counter.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/document_ports.h"
#include "export/jpeg_export.h"
#include "export/jpeg_export_chain.h"

namespace trevanto {

class CPlayerDoc;

class JpegExportCommands : private JpegExportHost {
  public:
    // Registers itself as the document's handler of kind 1 and 4 requests.
    explicit JpegExportCommands(CPlayerDoc& doc);
    JpegExportCommands(const JpegExportCommands&) = delete;
    JpegExportCommands& operator=(const JpegExportCommands&) = delete;

    // "Extract as jpeg": the items (view item indexes in ascending order)
    // become images numbered on from the JPEG counter, in `folder`, else in
    // the folder of the publication's target file; the user is told where
    // they went. False when the export could not start.
    bool ExtractAsJpeg(std::vector<int32_t> items,
                       const std::optional<std::string>& folder = std::nullopt);
    // The images of a publication, silently; `completed` runs once the last
    // image is written (never after an abort).
    bool StartPublicationExport(std::vector<int32_t> items, std::function<void()> completed);

    bool IsActive() const { return chain_.IsActive(); }
    // Every image of the last export was written.
    bool LastExportComplete() const { return chain_.SavedCount() == chain_.RequestedCount(); }
    // Ends the chain without a message; a publication never gets its pages.
    void Cancel() {
        chain_.Cancel();
        publicationCompleted_ = nullptr;
    }
    // The folder the images go to now, from the publication's target file.
    std::string OutputFolder() const;
    // Why images of the options' size cannot be made; empty when they can.
    std::string SizeProblem() const;
    // Every image file written since the document was made, in order.
    const std::vector<std::string>& WrittenImages() const { return written_; }

  private:
    bool Start(std::vector<int32_t> items, bool userExport, std::string folder,
               std::function<void()> completed);
    ExportSize Size() const;
    void ShowMessage(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void Show(const std::string& text, MessageKind kind);

    // JpegExportHost
    bool RequestItemFrame(int32_t item, bool userExport) override;
    int32_t StartFrameOfItem(int32_t item) const override;
    bool ScaleFrame() override;
    bool SaveImage(const std::string& filePath) override;
    bool PumpEventsAndCheckEscape(int maxEvents) override;
    void BeginProgress(const std::string& caption) override;
    void SetProgress(int32_t position) override;
    void EndProgress() override;
    void ExportCompleted(bool userExport, const std::string& report) override;

    CPlayerDoc& doc_;
    JpegExportChain chain_;
    std::function<void()> publicationCompleted_;
    std::vector<std::string> written_;
};

}  // namespace trevanto
