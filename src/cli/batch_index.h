#pragma once
// DIR/index.html: every video the batch's manifest records as done, with its
// length, shot count and a strip of its shot images, each linking to the
// video's publication (else its shots file). Or the same page as one web
// archive (.mhtml) holding its images, which opens anywhere alone. Made from the manifest alone, so
// it covers earlier runs and merged shards, by the publisher from the shipped template
// templates/archive_index.html.
#include <string>

namespace trevanto::cli {

inline constexpr const char* kIndexName = "index.html";

// Writes DIR/index.html, or the archive at `archivePath` when one is named,
// through a temporary name. False, with the reason, when it could not.
bool WriteBatchIndex(const std::string& outFolder, const std::string& archivePath,
                     std::string& error);

}  // namespace trevanto::cli
