#pragma once
// The publish command of the document: its checks, the target folder, the
// images of every shot through the JPEG export (numbered from 1), then the pages. The options are
// the document's publishing options as the caller (the wizard, trevanto-cli, a test) left them.
#include <optional>

#include "app/jobs/command_hosts.h"
#include "publish/publishing_run.h"

namespace trevanto {

class Player;
class Publisher;
class JpegExportCommands;

class PublishingCommands {
  public:
    PublishingCommands(PublishingHost& host, const Player& player, Publisher& publisher,
                       JpegExportCommands& jpegExport)
        : host_(host), player_(player), publisher_(publisher), jpegExport_(jpegExport) {}
    PublishingCommands(const PublishingCommands&) = delete;
    PublishingCommands& operator=(const PublishingCommands&) = delete;

    // Checks, prepares the target and starts the image export; the pages
    // follow when its last image is written. False when it did not start.
    bool Publish();
    // The desktop's "Publish to the Web": the wizard edits a copy of the
    // options, which replaces them on "Finish"; then Publish.
    bool PublishThroughWizard();
    // The images are being written.
    bool IsRunning() const;
    // The outcome of the last run that got to its pages.
    const std::optional<PublishOutcome>& LastOutcome() const { return lastOutcome_; }

  private:
    void PublishAfterExport();
    void RecordVideoFacts();
    void ShowMessage(const std::string& text);

    PublishingHost& host_;
    const Player& player_;
    Publisher& publisher_;
    JpegExportCommands& jpegExport_;
    bool running_ = false;
    std::optional<PublishOutcome> lastOutcome_;
};

}  // namespace trevanto
