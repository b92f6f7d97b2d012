#include "app/publishing_commands.h"

#include "app/jpeg_export_commands.h"
#include "app/player_doc.h"
#include "app/publishing_messages.h"

namespace trevanto {
namespace {

void RecordVideoFacts(CPlayerDoc& doc) {
    const Player& player = doc.GetPlayer();
    doc.GetPublisher().PublishVideoFacts(player.OpenedPath(), player.FrameCount(),
                                         player.DurationSeconds());
}

}  // namespace

bool PublishingCommands::Publish() {
    if (const auto notReady = CheckReadyToPublish(doc_.IsOpen(), doc_.ShotCount())) {
        ShowMessage(PublishingMessage(*notReady));
        return false;
    }
    if (doc_.FrameChainRunning())
        return false;
    // Refused before the target folder is made.
    if (const std::string problem = jpegExport_.SizeProblem(); !problem.empty()) {
        ShowMessage(problem);
        return false;
    }
    RecordVideoFacts(doc_);
    const TargetCheck target = PrepareTarget(doc_.GetPublisher().Options().targetFile);
    if (!target.ok) {
        ShowMessage(PublishingMessage(target.problem));
        return false;
    }
    std::vector<int32_t> items;
    for (int32_t item = 0; item < doc_.ShotCount(); ++item)
        items.push_back(item);
    lastOutcome_.reset();
    running_ = jpegExport_.StartPublicationExport(std::move(items), [this] {
        running_ = false;
        PublishAfterExport();
    });
    return running_;
}

bool PublishingCommands::IsRunning() const {
    // An aborted export never reaches the pages.
    return running_ && jpegExport_.IsActive();
}

void PublishingCommands::PublishAfterExport() {
    RecordVideoFacts(doc_);
    PublishOutcome outcome = PublishPages(doc_.GetPublisher(), &doc_.Shots());
    for (const PublishProblem& problem : outcome.problems)
        ShowMessage(PublishingMessage(problem));
    if (!outcome.pageToShow.empty())
        doc_.Ports().user->OpenWithDefaultHandler(outcome.pageToShow);
    lastOutcome_ = std::move(outcome);
}

void PublishingCommands::ShowMessage(const std::string& text) {
    doc_.Ports().user->ShowMessage(text, MessageKind::Warning);
}

}  // namespace trevanto
