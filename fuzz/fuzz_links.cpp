// The link collector and archive embedding on any HTML: the rewritten text,
// then the listed files copied beside a page and embedded in an archive.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "publish/archive_embedding.h"
#include "publish/link_collector.h"
#include "publish/publisher.h"

namespace {

void WriteFile(const std::string& path, std::string_view bytes) {
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// A template folder with a few files and a link out of it.
const std::string& TemplateFolder() {
    static const std::string folder = [] {
        const std::string root = trevanto::fuzz::ScratchFolder() + "/links";
        std::error_code ignored;
        std::filesystem::create_directories(root + "/tpl/pics", ignored);
        std::filesystem::create_directories(root + "/out", ignored);
        WriteFile(root + "/tpl/site.css", "body{}");
        WriteFile(root + "/tpl/pics/logo.gif", "GIF89a");
        WriteFile(root + "/tpl/a.js", "var a;");
        WriteFile(root + "/secret.css", "secret");
        std::filesystem::create_symlink(root + "/secret.css", root + "/tpl/link.css", ignored);
        return root;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> links;
    const std::string rewritten = CollectLinks(html, links);
    // Only "cid:" is ever added, once per rewritten reference.
    if (rewritten.size() < html.size())
        std::abort();
    const std::string& root = TemplateFolder();
    Publisher publisher;
    publisher.Options().templateFile = root + "/tpl/t.html";
    publisher.Options().targetFile = root + "/out/a.mhtml";
    publisher.Run().firstPagePath = root + "/out/a.mhtml";
    publisher.Archive().Open(root + "/out/a.mhtml");
    EmbedLinkedFiles(publisher, links);
    publisher.Archive().Close();
    publisher.Options().targetFile = root + "/out/index.html";
    publisher.Run().firstPagePath = root + "/out/index.html";
    EmbedLinkedFiles(publisher, links);
    // Nothing from outside the template's folder.
    std::error_code ignored;
    if (std::filesystem::exists(root + "/out/link.css", ignored))
        std::abort();
    return 0;
}
