#include "cli/batch_index.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/batch_manifest.h"
#include "common/atomic_file.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "publish/index_page.h"
#include "publish/publisher.h"
#include "publish/web_archive_writer.h"

namespace trevanto::cli {
namespace {

namespace fs = std::filesystem;

// A relative path as a url: the characters a browser would read as the
// end of the path or as an escape are escaped themselves.
std::string UrlPath(const std::string& path) {
    std::string url;
    for (const char c : path) {
        if (c == '%' || c == '#' || c == '?' || c == ' ')
            url += FormatText("%%%02X", static_cast<unsigned char>(c));
        else
            url += c;
    }
    return url;
}

// A shot image of a web archive: the file, and the part that holds it.
struct ImagePart {
    std::string file;
    std::string identifier;
};

// Where the index goes and how it reaches the files of DIR.
struct IndexTarget {
    fs::path out;          // DIR
    fs::path file;         // DIR/index.html or the archive
    bool archive = false;  // images embedded as parts

    // Links from the page to a file of DIR: relative to the page's folder,
    // so an archive written beside DIR or inside it links as the page would.
    std::string Link(const std::string& relative) const {
        if (!archive)
            return UrlPath(relative);
        const fs::path from = fs::absolute(file).parent_path().lexically_normal();
        const fs::path to = fs::absolute(out / relative).lexically_normal();
        return UrlPath(to.lexically_relative(from).generic_string());
    }
};

IndexVideo VideoOf(const IndexTarget& target, const ManifestRecord& record, size_t number,
                   std::vector<ImagePart>& parts) {
    IndexVideo video;
    video.name = record.input;
    video.shots = record.shots;
    video.frames = record.frames;
    video.durationSeconds = record.duration;
    std::error_code error;
    // The batch publishes into NAME/ with the default first page name.
    for (const std::string& linked : {record.base + "/output1.html", record.base + ".hpv"}) {
        if (fs::is_regular_file(target.out / linked, error)) {
            video.link = target.Link(linked);
            break;
        }
    }
    // The shot images of a publication or of --jpeg, under their default
    // names. Every video has an image0001.jpg: in an archive each part is
    // named after its video's place in the index as well.
    for (int32_t shot = 1; shot <= record.shots; ++shot) {
        const std::string name = FormatText("image%04d.jpg", shot);
        const std::string image = record.base + "/" + name;
        if (!fs::is_regular_file(target.out / image, error))
            continue;
        if (target.archive) {
            parts.push_back(
                {(target.out / image).string(), FormatText("video%zu-", number) + name});
            video.thumbnails.push_back(parts.back().identifier);
        } else {
            video.thumbnails.push_back(UrlPath(image));
        }
    }
    return video;
}

bool WriteArchive(const IndexTarget& target, const std::string& page,
                  const std::vector<ImagePart>& parts, std::string& error) {
    WebArchiveWriter archive;
    std::error_code ignored;
    fs::create_directories(fs::absolute(target.file, ignored).parent_path(), ignored);
    if (!archive.Open(target.file.string())) {
        error = "cannot write " + target.file.string();
        return false;
    }
    archive.AddPagePart(kIndexName, page);
    for (const ImagePart& part : parts) {
        if (!archive.AddBase64Part(part.file, "image/jpeg", part.identifier) && error.empty())
            error = "cannot read " + part.file;
    }
    if (!archive.Close()) {
        error = "cannot write " + target.file.string();
        return false;
    }
    return error.empty();
}

}  // namespace

bool WriteBatchIndex(const std::string& outFolder, const std::string& archivePath,
                     std::string& error) {
    const IndexTarget target{
        outFolder, archivePath.empty() ? fs::path(outFolder) / kIndexName : fs::path(archivePath),
        !archivePath.empty()};
    const std::string templatePath = FindShippedFile("templates/archive_index.html");
    std::ifstream templateFile(templatePath, std::ios::binary);
    if (!templateFile) {  // an empty path, where none was found, opens nothing
        error = "cannot read the template templates/archive_index.html";
        return false;
    }
    std::ostringstream text;
    text << templateFile.rdbuf();
    std::vector<IndexVideo> videos;
    std::vector<ImagePart> parts;
    for (const auto& [input, record] : ReadManifest((target.out / kManifestName).string())) {
        if (record.status == "done")
            videos.push_back(VideoOf(target, record, videos.size() + 1, parts));
    }
    Publisher publisher;
    // The same page wherever the folder lies or was merged from.
    publisher.Options().title = "Archive index";
    // An archive's images are "cid:" references to its parts.
    publisher.Options().targetFile = target.file.string();
    const std::string page = ExpandIndexTemplate(publisher, text.str(), videos);
    if (target.archive)
        return WriteArchive(target, page, parts, error);
    if (!WriteFileAtomically(target.file.string(), page)) {
        error = "cannot write " + target.file.string();
        return false;
    }
    return true;
}

}  // namespace trevanto::cli
