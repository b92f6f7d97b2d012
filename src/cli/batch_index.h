#pragma once
// DIR/index.html: every video the batch's manifest records as done, with its
// shot count and a strip of its shot images, each linking to the video's
// publication (else its shots file). Made from the manifest alone, so it
// covers earlier runs and merged shards, by the publisher from the shipped
// template templates/archive_index.html.
#include <string>

namespace trevanto::cli {

inline constexpr const char* kIndexName = "index.html";

// Writes the page through a temporary name. False, with the reason, when it
// could not.
bool WriteBatchIndex(const std::string& outFolder, std::string& error);

}  // namespace trevanto::cli
