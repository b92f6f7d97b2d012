#pragma once
// Puts the shot images and a template's referenced files into the archive,
// or, for a web page, copies the referenced files next to the pages.
#include <string>
#include <string_view>
#include <vector>

namespace trevanto {

class Publisher;

// The folder the pages, the images and the copied files go to: the folder of
// the run's first page.
std::string PublicationFolder(const Publisher& publisher);

// One base64 image/jpeg part per shot, identified by the shot's file name.
bool EmbedShotImages(Publisher& publisher);

// Content type of a referenced file by its extension; empty for files that do
// not go into an archive. *base64 tells how the part is encoded.
std::string_view LinkedFileContentType(std::string_view path, bool* base64);

// Archive: one part per referenced file the template folder holds. Web page:
// a copy of each, folders created as needed. Names that would reach outside
// the template's or the target's folder are skipped.
void EmbedLinkedFiles(Publisher& publisher, const std::vector<std::string>& links);

}  // namespace trevanto
