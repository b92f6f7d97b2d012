#include "publish/built_in_pages.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "common/paths.h"
#include "common/text_format.h"
#include "publish/archive_embedding.h"
#include "publish/html_values.h"
#include "publish/option_bounds.h"
#include "publish/page_output.h"
#include "publish/publisher.h"
#include "shots/shot_list.h"

namespace trevanto {
namespace {

constexpr const char* kNl = "\r\n";

// Kilobytes of one shot image, judged by the first one; 2 when it is missing.
int32_t ImageKBytes(const Publisher& publisher) {
    const PublishRunState& run = publisher.Run();
    const std::string first = run.imageFiles.empty()
                                  ? JoinPath(PublicationFolder(publisher), "image0001.jpg")
                                  : run.imageFiles.front();
    struct stat info {};
    if (::stat(first.c_str(), &info) != 0)
        return 2;
    return info.st_size < 1024 ? 1 : static_cast<int32_t>(info.st_size / 1024);
}

// output1.html gives output1_0001.html for page index 0; empty when the path
// holds none of the page extensions.
std::string NextPagePath(const std::string& firstPage, int32_t pageIndex) {
    std::string lower = firstPage;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    size_t at = lower.find(".htm");
    if (at == std::string::npos)
        at = lower.find(".mhtml");
    if (at == std::string::npos)
        at = lower.find(".asp");
    if (at == std::string::npos)
        return {};
    return firstPage.substr(0, at) + FormatText("_%04d", pageIndex + 1) + firstPage.substr(at);
}

struct Layout {
    int32_t shots = 0;
    int32_t perPage = 1;
    int32_t pages = 1;
    bool noSize = false;
};

std::string PageHead(const Publisher& publisher, const std::string& pagePath) {
    const PublishOptions& options = publisher.Options();
    std::string html;
    html += "<html>\r\n<head>\r\n";
    html += "<title>" + options.title + " (" + EscapeHtml(pagePath) + ")</title>\r\n";
    // The page's bytes are UTF-8 text.
    html += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n";
    html += "<style>\r\n";
    html += "body { font-family : Verdana, Arial, Courier; font-size:1.0em; }\r\n";
    html += "td { font-family : Verdana, Arial, Courier; font-size:0.7em; }\r\n";
    html += "</style>\r\n";
    html += "</head>\r\n\r\n";
    html += "<body bgcolor=\"#FFFFFF\">\r\n";
    html += "<center>\r\n";
    html += "<h1>" + publisher.ExpandKeywords(options.title, true, false, KeywordOutput::kHtml) +
            "</h1>\r\n";
    html += " <table border=\"" + FormatText("%d", options.edgeWidth) + "\">\r\n";
    return html;
}

std::string Cell(Publisher& publisher, const Layout& layout, int32_t page, int32_t firstShot,
                 int32_t k) {
    const PublishOptions& options = publisher.Options();
    PublishRunState& run = publisher.Run();
    publisher.SetIndexTexts(k + 1);
    run.currentShot = k < run.shots->ShotCount() ? run.shots->At(static_cast<size_t>(k)) : nullptr;
    const std::string caption =
        publisher.ExpandKeywords(options.shotCaption, false, false, KeywordOutput::kHtml);
    // The shotFileName expanded, with "cid:" in an archive, as a safe source.
    const std::string image =
        publisher.ExpandKeywords("$(SHOTFILENAME)", false, false, KeywordOutput::kHtml);

    const KeywordTexts& texts = publisher.Texts();
    const std::string size =
        "width=\"" + texts.shotWidth + "\" height=\"" + texts.shotHeight + "\"";
    const bool showsShot = (page < layout.pages - 1 && k - firstShot < layout.perPage) ||
                           (page == layout.pages - 1 && k < layout.shots);
    if (!showsShot)
        return "   <td " + size + ">&nbsp;</td>" + kNl;
    std::string cell = "   <td " + size + "><img src=\"" + image + "\"";
    cell += layout.noSize ? ">" : " " + size + ">";
    if (options.displayCaption)
        cell += "<br><center>" + caption + "</center>";
    cell += "</td>";
    cell += kNl;
    return cell;
}

}  // namespace

int32_t BoundedShotsPerRow(int32_t shotsPerRow) {
    const OptionRange range = RangeOf(BoundedOption::ShotsPerRow);
    return std::clamp(shotsPerRow, range.lowest, range.highest);
}

bool GenerateBuiltInPages(Publisher& publisher) {
    PublishOptions& options = publisher.Options();
    PublishRunState& run = publisher.Run();
    if (run.shots == nullptr)
        return false;

    Layout layout;
    layout.shots = run.shots->ShotCount();
    // A budget smaller than one image still places one shot per page.
    layout.perPage = std::max(1, options.pageKBytes / ImageKBytes(publisher));
    layout.pages = layout.shots > 0 ? (layout.shots - 1) / layout.perPage + 1 : 1;
    if (options.shotsPerRow <= 0)
        options.shotsPerRow = 1;
    const int32_t perRow = BoundedShotsPerRow(options.shotsPerRow);
    layout.noSize = options.stretchToFit || (options.shotWidth == 100 && options.shotHeight == 80);

    KeywordTexts& texts = publisher.Texts();
    publisher.SetCountTexts(layout.shots);
    texts.pageCount = FormatText("%d", layout.pages);
    texts.thumbnailWidth = FormatText("%d", perRow);
    // In 64 bits: a page budget near 2^31 would overflow the sum.
    texts.thumbnailHeight =
        FormatText("%lld", static_cast<long long>((int64_t{perRow} + layout.perPage - 1) / perRow));

    const bool archive = publisher.IsArchive();
    bool failed = archive && !publisher.Archive().Open(run.firstPagePath);
    std::string pagePath = run.firstPagePath;
    for (int32_t page = 0; page < layout.pages; ++page) {
        const int32_t firstShot = page * layout.perPage;
        texts.shotWidth = FormatText("%d", options.shotWidth);
        texts.shotHeight = FormatText("%d", options.shotHeight);
        texts.page = FormatText("%d", page + 1);
        run.pageIndex = page;
        run.pageCount = layout.pages;
        run.currentShot = nullptr;

        std::string html = PageHead(publisher, pagePath);
        const int64_t pageEnd =
            std::min<int64_t>(int64_t{firstShot} + layout.perPage, layout.shots);
        for (int64_t row = firstShot; row < pageEnd; row += perRow) {
            html += "  <tr>\r\n";
            for (int64_t k = row; k < row + perRow; ++k) {
                html += Cell(publisher, layout, page, firstShot, static_cast<int32_t>(k));
            }
            html += "  </tr>\r\n";
        }
        html += " </table>\r\n</center>\r\n";

        std::string nextPath = NextPagePath(run.firstPagePath, page);
        if (nextPath.empty()) {
            failed = true;
            nextPath = pagePath;
        }
        if (page < layout.pages - 1) {
            const std::string name = FileNamePart(nextPath);
            const std::string link = EscapeHtml(archive ? "cid:" + name : FileReference(name));
            html += "<h4 align=\"center\">\r\n";
            html += " <a href=\"" + link + "\">Next</a>\r\n";
            html += "</h4>\r\n";
        }
        html += "</body>\r\n</html>\r\n";
        failed = !WritePage(publisher, pagePath, html) || failed;
        pagePath = nextPath;
    }

    if (archive) {
        failed = !EmbedShotImages(publisher) || failed;
        failed = !publisher.Archive().Close() || failed;
    }
    return !failed;
}

}  // namespace trevanto
