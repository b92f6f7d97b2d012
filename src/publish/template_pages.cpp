#include "publish/template_pages.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "common/paths.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "publish/archive_embedding.h"
#include "publish/condition_evaluator.h"
#include "publish/link_collector.h"
#include "publish/page_output.h"
#include "publish/publisher.h"
#include "shots/shot_list.h"

namespace trevanto {
namespace {

// A "$(" whose ")" lies further than this is plain text.
constexpr size_t kLongestKeyword = 20;

std::optional<std::string> ReadTemplate(const std::string& path, bool& tooLarge) {
    std::string bytes;
    const FileReadStatus read = ReadRegularFile(path, bytes, kMaxTemplateBytes);
    tooLarge = read == FileReadStatus::kTooLarge;
    if (read != FileReadStatus::kRead)
        return std::nullopt;
    // The template was read in chunks of 4096 bytes, each text up to a NUL.
    constexpr size_t kChunk = 4096;
    std::string text;
    text.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size(); at += kChunk) {
        const std::string_view chunk = std::string_view(bytes).substr(at, kChunk);
        text += chunk.substr(0, chunk.find('\0'));
    }
    return text;
}

size_t CountOccurrences(std::string_view text, std::string_view what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size())) {
        ++count;
    }
    return count;
}

// Finds a character of a constant text for a scan that moves forward: the
// last answer serves every later search that starts before it, so a scan
// costs the length of the text once.
class ForwardFinder {
  public:
    ForwardFinder(const std::string& text, char c) : text_(text), c_(c) {}
    size_t From(size_t from) {
        if (!(known_ && from >= from_ && from <= found_)) {
            found_ = text_.find(c_, from);
            from_ = from;
            known_ = true;
        }
        return found_;
    }

  private:
    const std::string& text_;
    const char c_;
    bool known_ = false;
    size_t from_ = 0;
    size_t found_ = 0;
};

// One template run over all pages; placed and shotsExhausted carry over from
// page to page.
class TemplateRun {
  public:
    TemplateRun(Publisher& publisher, std::string text, int32_t shotCount,
                std::vector<PublishProblem>& problems)
        : publisher_(publisher), t_(std::move(text)), shotCount_(shotCount), problems_(problems) {}

    std::string Page(int32_t page, int32_t pages) {
        PublishRunState& run = publisher_.Run();
        KeywordTexts& texts = publisher_.Texts();
        run.pageIndex = page;
        run.pageCount = pages;
        run.currentShot = nullptr;
        texts.shotWidth = FormatText("%d", publisher_.Options().shotWidth);
        texts.shotHeight = FormatText("%d", publisher_.Options().shotHeight);
        texts.page = FormatText("%d", page + 1);
        publisher_.SetIndexTexts(placed_ + 1);
        run.currentShot = CursorShot();

        out_.clear();
        inShot_ = inIf_ = ifFalse_ = false;
        copyFrom_ = 0;
        size_t p = t_.find("$(");
        while (p != std::string::npos) {
            if (t_.compare(p + 2, 3, "IF,") == 0) {
                p = Condition(p);
                continue;
            }
            const size_t end =
                std::string_view(t_).substr(0, p + 3 + kLongestKeyword).find(')', p + 2);
            if (end == std::string::npos) {
                Copy(copyFrom_, p + 2);
                copyFrom_ = p + 2;
            } else {
                Copy(copyFrom_, p);
                Keyword(std::string_view(t_).substr(p, end + 1 - p));
                copyFrom_ = end + 1;
            }
            p = t_.find("$(", copyFrom_);
        }
        Copy(copyFrom_, t_.size());
        return std::move(out_);
    }

  private:
    bool Skipping() const { return (exhausted_ && inShot_) || (inIf_ && ifFalse_); }

    void Copy(size_t from, size_t to) {
        if (!Skipping() && to > from)
            out_.append(t_, from, to - from);
    }

    const Shot* CursorShot() const {
        const ShotList* shots = publisher_.Run().shots;
        return cursor_ < shotCount_ ? shots->At(static_cast<size_t>(cursor_)) : nullptr;
    }

    void Keyword(std::string_view keyword) {
        if (keyword == "$(BEGINSHOT)") {
            inShot_ = true;
        } else if (keyword == "$(ENDSHOT)") {
            inShot_ = false;
            ++placed_;
            publisher_.SetIndexTexts(placed_ + 1);
            ++cursor_;
            publisher_.Run().currentShot = CursorShot();
            if (placed_ >= shotCount_) {
                exhausted_ = true;
                publisher_.ClearIndexTexts();
                publisher_.Run().currentShot = nullptr;
                cursor_ = shotCount_;
            }
        } else if (keyword == "$(ENDIF)") {
            inIf_ = ifFalse_ = false;
        } else if (!Skipping()) {
            out_ += publisher_.ExpandKeywords(keyword, false, exhausted_, KeywordOutput::kHtml);
        }
    }

    // Returns where scanning goes on.
    size_t Condition(size_t p) {
        const size_t q1 = quotes_.From(p + 2);
        const size_t q2 = q1 == std::string::npos ? q1 : quotes_.From(q1 + 1);
        if (q2 == std::string::npos) {
            // Once is enough: every later condition lacks its quotes too.
            if (!syntaxReported_) {
                const auto line =
                    std::count(t_.begin(), t_.begin() + static_cast<ptrdiff_t>(p), '\n');
                problems_.push_back({PublishProblemKind::ConditionSyntax,
                                     publisher_.Options().templateFile,
                                     static_cast<int>(line) + 1});
            }
            syntaxReported_ = true;
            return t_.find("$(", p + 2);
        }
        Copy(copyFrom_, p);
        inIf_ = true;
        // The expression is only evaluated, never written: its values stay raw.
        const std::string expression =
            publisher_.ExpandKeywords(std::string_view(t_).substr(q1 + 1, q2 - q1 - 1), false,
                                      exhausted_, KeywordOutput::kText);
        ifFalse_ = !ConditionHolds(expression);
        copyFrom_ = q2 + 1;
        if (const size_t close = closes_.From(q2 + 1); close != std::string::npos) {
            copyFrom_ = close + 1;
        }
        return t_.find("$(", copyFrom_);
    }

    Publisher& publisher_;
    const std::string t_;
    const int32_t shotCount_;
    std::vector<PublishProblem>& problems_;
    int32_t placed_ = 0;
    int32_t cursor_ = 0;
    bool exhausted_ = false;
    std::string out_;
    bool inShot_ = false;
    bool inIf_ = false;
    bool ifFalse_ = false;
    size_t copyFrom_ = 0;
    ForwardFinder quotes_{t_, '"'};
    ForwardFinder closes_{t_, ')'};
    bool syntaxReported_ = false;
};

}  // namespace

bool GenerateTemplatePages(Publisher& publisher, std::vector<PublishProblem>& problems) {
    const std::string templateFile = publisher.Options().templateFile;
    PublishRunState& run = publisher.Run();
    if (run.shots == nullptr || !FileExists(templateFile))
        return false;
    bool tooLarge = false;
    std::optional<std::string> text = ReadTemplate(templateFile, tooLarge);
    if (tooLarge) {
        problems.push_back({PublishProblemKind::TemplateTooLarge, templateFile});
        return false;
    }
    if (!text || IsFolder(templateFile)) {
        problems.push_back({PublishProblemKind::TemplateUnreadable, templateFile});
        return false;
    }
    const int32_t blocks = static_cast<int32_t>(CountOccurrences(*text, "$(ENDSHOT"));
    if (blocks == 0) {
        problems.push_back({PublishProblemKind::TemplateWithoutShotBlock, templateFile});
        return false;
    }
    const int32_t shots = run.shots->ShotCount();
    const int32_t pages = shots > 0 ? (shots - 1) / blocks + 1 : 1;
    KeywordTexts& texts = publisher.Texts();
    publisher.SetCountTexts(shots);
    texts.pageCount = FormatText("%d", pages);
    texts.thumbnailWidth.clear();
    texts.thumbnailHeight.clear();

    std::vector<std::string> links;
    std::string rewritten = CollectLinks(*text, links);
    const bool archive = publisher.IsArchive();
    bool complete = true;
    if (archive) {
        *text = std::move(rewritten);
        complete = publisher.Archive().Open(run.firstPagePath);
    }

    TemplateRun templateRun(publisher, std::move(*text), shots, problems);
    const std::string folder = PublicationFolder(publisher);
    std::string pagePath = run.firstPagePath;
    for (int32_t page = 0; page < pages; ++page) {
        complete = WritePage(publisher, pagePath, templateRun.Page(page, pages)) && complete;
        pagePath = JoinPath(folder, publisher.PageFileName(page + 1));
    }

    if (archive) {
        complete = EmbedShotImages(publisher) && complete;
        EmbedLinkedFiles(publisher, links);
        complete = publisher.Archive().Close() && complete;
    } else {
        EmbedLinkedFiles(publisher, links);
    }
    return complete;
}

}  // namespace trevanto
