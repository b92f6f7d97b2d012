#include "app/jobs/publishing_commands.h"

#include "app/jobs/jpeg_export_commands.h"
#include "app/messages/publishing_messages.h"
#include "export/jpeg_export.h"
#include "publish/publisher.h"
#include "shots/shot_list.h"
#include "video/player.h"

namespace trevanto {
bool PublishingCommands::Publish() {
    if (const auto notReady = CheckReadyToPublish(host_.IsOpen(), host_.ShotCount())) {
        ShowMessage(PublishingMessage(*notReady));
        return false;
    }
    if (host_.FrameChainRunning())
        return false;
    // Refused before the target folder is made.
    if (const std::string problem = jpegExport_.SizeProblem(); !problem.empty()) {
        ShowMessage(problem);
        return false;
    }
    // An additional file never replaces a page or a shot image: refused
    // before anything is written.
    const PublishOptions& options = publisher_.Options();
    std::vector<std::string> ownFiles = PublicationPageNames(options.targetFile, host_.ShotCount());
    for (int32_t counter = 1; counter <= host_.ShotCount(); ++counter)
        ownFiles.push_back(JpegImageName(counter));
    if (const auto clash = AdditionalFileClash(options.additionalFiles, ownFiles)) {
        ShowMessage(PublishingMessage({PublishProblemKind::AdditionalFileClash, *clash}));
        return false;
    }
    RecordVideoFacts();
    const TargetCheck target = PrepareTarget(options.targetFile);
    if (!target.ok) {
        ShowMessage(PublishingMessage(target.problem));
        return false;
    }
    std::vector<int32_t> items;
    for (int32_t item = 0; item < host_.ShotCount(); ++item)
        items.push_back(item);
    lastOutcome_.reset();
    running_ = jpegExport_.StartPublicationExport(std::move(items), [this] {
        running_ = false;
        PublishAfterExport();
    });
    return running_;
}

bool PublishingCommands::PublishThroughWizard() {
    if (const auto notReady = CheckReadyToPublish(host_.IsOpen(), host_.ShotCount())) {
        ShowMessage(PublishingMessage(*notReady));
        return false;
    }
    if (host_.FrameChainRunning())
        return false;
    RecordVideoFacts();
    Publisher copy;
    copy.Assign(publisher_);
    if (!host_.Ports().user->EditPublishOptions(copy))
        return false;
    publisher_.Assign(copy);
    return Publish();
}

bool PublishingCommands::IsRunning() const {
    // An aborted export never reaches the pages.
    return running_ && jpegExport_.IsActive();
}

void PublishingCommands::PublishAfterExport() {
    RecordVideoFacts();
    PublishOutcome outcome = PublishPages(publisher_, &host_.Shots());
    for (const PublishProblem& problem : outcome.problems)
        ShowMessage(PublishingMessage(problem));
    if (!outcome.pageToShow.empty())
        host_.Ports().user->OpenWithDefaultHandler(outcome.pageToShow);
    lastOutcome_ = std::move(outcome);
}

void PublishingCommands::RecordVideoFacts() {
    publisher_.PublishVideoFacts(player_.OpenedPath(), player_.FrameCount(),
                                 player_.DurationSeconds(), player_.PictureSeconds());
}

void PublishingCommands::ShowMessage(const std::string& text) {
    host_.Ports().user->ShowMessage(text, MessageKind::Warning);
}

}  // namespace trevanto
