#include "app/messages/publishing_messages.h"

#include "common/regular_file.h"
#include "publish/part_encoders.h"
#include "publish/template_pages.h"

namespace trevanto {

std::string PublishingMessage(const PublishProblem& problem) {
    switch (problem.kind) {
        case PublishProblemKind::NoMovie:
            return "Please load a movie file first.";
        case PublishProblemKind::NoShot:
            return "No shot to export.";
        case PublishProblemKind::NoTarget:
            return "You need to specify a target file.";
        case PublishProblemKind::ReadOnlyTarget:
            return "Thumbnails cannot be created on a cd-rom storage. Please change the target "
                   "file.";
        case PublishProblemKind::TargetNotWritable:
            return "You may not write to the folder " + problem.file +
                   ". Please change the target file.";
        case PublishProblemKind::CannotCreateFolder:
            return "Sorry, can't create directory: " + problem.file + ". Access denied.";
        case PublishProblemKind::TargetIsFolder:
            return "The target " + problem.file +
                   " is a folder, not a web page. Please change the target file.";
        case PublishProblemKind::TargetIsFile:
            return "The target " + problem.file +
                   " is a file, not a folder. Please change the target file.";
        case PublishProblemKind::AdditionalFileClash:
            return "The additional file " + problem.file +
                   " would replace a file of the same name in the publication. Please rename it "
                   "or take it out of the additional files.";
        case PublishProblemKind::TemplateUnreadable:
            return "Cannot open template file (" + problem.file + ").";
        case PublishProblemKind::TemplateTooLarge:
            return "The template file (" + problem.file + ") is larger than " +
                   ByteSizeText(kMaxTemplateBytes) + ", more than a page template can be.";
        case PublishProblemKind::EmbeddedFileTooLarge:
            return "The file " + problem.file + " is larger than " +
                   ByteSizeText(kMaxEmbeddedFileBytes) +
                   ", more than a web archive takes in: it was left out of the archive.";
        case PublishProblemKind::TemplateWithoutShotBlock:
            return "This template file (" + problem.file +
                   ") does not seem to be ready for use in Trevanto.\r\nMake sure to use "
                   "$(BEGINSHOT)...$(ENDSHOT) keywords.";
        case PublishProblemKind::ConditionSyntax:
            return "Syntax error in a condition statement. $(IF,...)";
        case PublishProblemKind::ExpansionLimit:
            return "The keywords of this publication expand without end or beyond 1 MB: check the "
                   "title, the shot caption and the template for keywords that bring themselves "
                   "back.";
        case PublishProblemKind::Partial:
            break;
    }
    return "Error while publishing to the web : Only a fraction of the content has been "
           "published.";
}

}  // namespace trevanto
