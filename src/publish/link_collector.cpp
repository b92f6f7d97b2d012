#include "publish/link_collector.h"

#include <algorithm>

#include "common/paths.h"

namespace trevanto {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

size_t FindIgnoreCase(std::string_view text, std::string_view what, size_t from) {
    if (what.empty() || from > text.size())
        return std::string_view::npos;
    const auto found =
        std::search(text.begin() + static_cast<long>(from), text.end(), what.begin(), what.end(),
                    [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
    return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool AlreadyListed(const std::vector<std::string>& links, std::string_view name) {
    return std::any_of(links.begin(), links.end(),
                       [&](const std::string& link) { return EqualsIgnoreCase(link, name); });
}

// Where the value of attribute `attribute` of the tag at p lies, or nothing
// when the tag is to be copied unchanged.
struct ValueSpan {
    size_t begin = 0;
    size_t end = 0;  // one past the last character
};

bool FindValue(std::string_view x, size_t p, size_t gt, std::string_view attribute,
               ValueSpan& span) {
    const size_t a = FindIgnoreCase(x, attribute, p);
    if (a == std::string_view::npos || a > gt)
        return false;
    size_t q = a + attribute.size();
    while (q < x.size() && IsBlank(x[q]))
        ++q;
    if (q >= x.size() || x[q] != '=')
        return false;
    ++q;
    while (q < x.size() && IsBlank(x[q]))
        ++q;
    if (q >= x.size())
        return false;
    char quote = '\0';
    if (x[q] == '"' || x[q] == '\'')
        quote = x[q++];
    span.begin = q;
    while (q < x.size() && (quote ? x[q] != quote : !(IsBlank(x[q]) || x[q] == '>')))
        ++q;
    // The text ended before the value did.
    if (q >= x.size())
        return false;
    span.end = q;
    return span.end <= gt;
}

bool KeepsReference(std::string_view value) {
    // Absolute paths, keywords and urls stay, and so does anything that would
    // reach outside the template's folder.
    return value.empty() || value.front() == '/' || value.front() == '$' ||
           value.find("://") != std::string_view::npos || !IsSafeRelativeName(value);
}

std::string RewritePass(std::string_view x, std::string_view tag, std::string_view attribute,
                        std::vector<std::string>& links) {
    std::string y;
    y.reserve(x.size() + 64);
    size_t from = 0;
    size_t p = FindIgnoreCase(x, tag, 0);
    while (p != std::string_view::npos) {
        y += x.substr(from, p - from);
        const size_t gt = x.find('>', p);
        if (gt == std::string_view::npos) {
            from = p;
            break;
        }
        ValueSpan span;
        const bool found = FindValue(x, p, gt, attribute, span);
        const std::string_view value =
            found ? x.substr(span.begin, span.end - span.begin) : std::string_view{};
        if (!found || KeepsReference(value)) {
            y += x.substr(p, gt + 1 - p);
        } else {
            y += x.substr(p, span.begin - p);
            y += "cid:";
            y += value;
            y += x.substr(span.end, gt + 1 - span.end);
            if (!AlreadyListed(links, value))
                links.emplace_back(value);
        }
        from = gt + 1;
        p = FindIgnoreCase(x, tag, from);
    }
    y += x.substr(std::min(from, x.size()));
    return y;
}

}  // namespace

bool IsSafeRelativeName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\')
        return false;
    // A drive ("C:") or a scheme ("http:", "cid:") names something elsewhere.
    if (name.find(':') != std::string_view::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t cut = name.find_first_of("/\\", start);
        const size_t stop = cut == std::string_view::npos ? name.size() : cut;
        if (name.substr(start, stop - start) == "..")
            return false;
        if (cut == std::string_view::npos)
            break;
        start = cut + 1;
    }
    return true;
}

std::string CollectLinks(std::string_view text, std::vector<std::string>& links) {
    std::string rewritten = RewritePass(text, "<link", "href", links);
    rewritten = RewritePass(rewritten, "<script", "src", links);
    return RewritePass(rewritten, "<img", "src", links);
}

}  // namespace trevanto
