#pragma once
// What stops or spoils a publication, as facts: the front end words them
// (app/messages/publishing_messages.h), and no decision depends on a text.
#include <string>
#include <utility>

namespace trevanto {

enum class PublishProblemKind {
    NoMovie,                   // no video is open
    NoShot,                    // the shot list is empty
    NoTarget,                  // no target file was given
    ReadOnlyTarget,            // the target's folder is on a read-only file system
    TargetNotWritable,         // file: the target folder the user may not write to
    CannotCreateFolder,        // file: the target folder that could not be made
    TargetIsFolder,            // file: a page or archive target that is a folder
    TargetIsFile,              // file: a folder target that is a file
    AdditionalFileClash,       // file: an additional file named like a file of the publication
    TemplateUnreadable,        // file: the page template
    TemplateTooLarge,          // file: the page template, beyond kMaxTemplateBytes
    TemplateWithoutShotBlock,  // file: the page template
    ConditionSyntax,           // file, line: the $(IF,...) statement of the template
    ExpansionLimit,            // keywords that expand without end or beyond the limit
    EmbeddedFileTooLarge,      // file: left out of the archive, beyond kMaxEmbeddedFileBytes
    Partial,                   // some pages or files were not written
};

struct PublishProblem {
    PublishProblem() = default;
    PublishProblem(PublishProblemKind problemKind, std::string problemFile = {},
                   int problemLine = 0)
        : kind(problemKind), file(std::move(problemFile)), line(problemLine) {}

    PublishProblemKind kind = PublishProblemKind::Partial;
    std::string file;  // the file the problem is about, when there is one
    int line = 0;      // its line (from 1), when known

    bool operator==(const PublishProblem&) const = default;
};

}  // namespace trevanto
