#include "cli/batch_index.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/batch_manifest.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "publish/index_page.h"
#include "publish/publisher.h"

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

IndexVideo VideoOf(const fs::path& out, const ManifestRecord& record) {
    IndexVideo video;
    video.name = record.input;
    video.shots = record.shots;
    video.frames = record.frames;
    std::error_code error;
    // The batch publishes into NAME/ with the default first page name.
    for (const std::string& linked : {record.base + "/output1.html", record.base + ".hpv"}) {
        if (fs::is_regular_file(out / linked, error)) {
            video.link = UrlPath(linked);
            break;
        }
    }
    // The shot images of a publication or of --jpeg, under their default names.
    for (int32_t shot = 1; shot <= record.shots; ++shot) {
        const std::string image = record.base + FormatText("/image%04d.jpg", shot);
        if (fs::is_regular_file(out / image, error))
            video.thumbnails.push_back(UrlPath(image));
    }
    return video;
}

}  // namespace

bool WriteBatchIndex(const std::string& outFolder, std::string& error) {
    const fs::path out(outFolder);
    const std::string templatePath = FindShippedFile("templates/archive_index.html");
    std::ifstream templateFile(templatePath, std::ios::binary);
    if (templatePath.empty() || !templateFile) {
        error = "cannot read the template templates/archive_index.html";
        return false;
    }
    std::ostringstream text;
    text << templateFile.rdbuf();
    std::vector<IndexVideo> videos;
    for (const auto& [input, record] : ReadManifest((out / kManifestName).string())) {
        if (record.status == "done")
            videos.push_back(VideoOf(out, record));
    }
    Publisher publisher;
    // The same page wherever the folder lies or was merged from.
    publisher.Options().title = "Archive index";
    const std::string page = ExpandIndexTemplate(publisher, text.str(), videos);
    const fs::path target = out / kIndexName;
    const fs::path temporary = target.string() + ".trevanto-tmp";
    std::error_code ignored;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << page;
        if (!file.flush()) {
            error = "cannot write " + temporary.string();
            return false;
        }
    }
    fs::rename(temporary, target, ignored);
    if (ignored) {
        fs::remove(temporary, ignored);
        error = "cannot write " + target.string();
        return false;
    }
    return true;
}

}  // namespace trevanto::cli
