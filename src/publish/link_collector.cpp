#include "publish/link_collector.h"

#include <algorithm>
#include <unordered_set>

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

// Where the value of attribute `attribute` of the tag at p lies, or nothing
// when the tag is to be copied unchanged.
struct ValueSpan {
    size_t begin = 0;
    size_t end = 0;  // one past the last character
};

bool IsNameEnd(char c) {
    return IsBlank(c) || c == '=' || c == '>' || c == '/';
}

// Walks the attribute list of the tag between `from` and its ">" at `gt`,
// name by whole name: "srcset", "data-src" or a value reading "src" are not
// the attribute "src".
bool FindValue(std::string_view x, size_t from, size_t gt, std::string_view attribute,
               ValueSpan& span) {
    size_t q = from;
    while (q < gt) {
        while (q < gt && (IsBlank(x[q]) || x[q] == '/'))
            ++q;
        const size_t nameBegin = q;
        while (q < gt && !IsNameEnd(x[q]))
            ++q;
        if (q == nameBegin) {
            ++q;  // a stray "=": skip it
            continue;
        }
        const std::string_view name = x.substr(nameBegin, q - nameBegin);
        while (q < gt && IsBlank(x[q]))
            ++q;
        if (q >= gt || x[q] != '=')
            continue;  // an attribute without a value
        ++q;
        while (q < gt && IsBlank(x[q]))
            ++q;
        char quote = '\0';
        if (q < gt && (x[q] == '"' || x[q] == '\''))
            quote = x[q++];
        const size_t valueBegin = q;
        while (q < gt && (quote ? x[q] != quote : !IsBlank(x[q])))
            ++q;
        // A quoted value that runs past the tag's ">" leaves the tag alone.
        if (quote && q >= gt)
            return false;
        if (EqualsIgnoreCase(name, attribute)) {
            span.begin = valueBegin;
            span.end = q;
            return true;
        }
        if (quote)
            ++q;
    }
    return false;
}

bool KeepsReference(std::string_view value) {
    // Absolute paths, keywords and urls stay, and so does anything that would
    // reach outside the template's folder.
    return value.empty() || value.front() == '/' || value.front() == '$' ||
           value.find("://") != std::string_view::npos || !IsSafeRelativeName(value);
}

// Lower-case names already listed, so that each link is listed once.
using ListedNames = std::unordered_set<std::string>;

std::string LowerCopy(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

// The next "<tag" whose name ends there (so "<image" is no "<img"), or npos.
size_t FindTag(std::string_view x, std::string_view tag, size_t from) {
    for (size_t p = FindIgnoreCase(x, tag, from); p != std::string_view::npos;
         p = FindIgnoreCase(x, tag, p + 1)) {
        const size_t after = p + tag.size();
        if (after >= x.size() || IsNameEnd(x[after]))
            return p;
    }
    return std::string_view::npos;
}

std::string RewritePass(std::string_view x, std::string_view tag, std::string_view attribute,
                        std::vector<std::string>& links, ListedNames& listed) {
    std::string y;
    y.reserve(x.size() + 64);
    size_t from = 0;
    size_t p = FindTag(x, tag, 0);
    while (p != std::string_view::npos) {
        y += x.substr(from, p - from);
        const size_t gt = x.find('>', p);
        if (gt == std::string_view::npos) {
            from = p;
            break;
        }
        ValueSpan span;
        const bool found = FindValue(x, p + tag.size(), gt, attribute, span);
        const std::string_view value =
            found ? x.substr(span.begin, span.end - span.begin) : std::string_view{};
        if (!found || KeepsReference(value)) {
            y += x.substr(p, gt + 1 - p);
        } else {
            y += x.substr(p, span.begin - p);
            y += "cid:";
            y += value;
            y += x.substr(span.end, gt + 1 - span.end);
            if (listed.insert(LowerCopy(value)).second)
                links.emplace_back(value);
        }
        from = gt + 1;
        p = FindTag(x, tag, from);
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
    ListedNames listed;
    for (const std::string& link : links)
        listed.insert(LowerCopy(link));
    std::string rewritten = RewritePass(text, "<link", "href", links, listed);
    rewritten = RewritePass(rewritten, "<script", "src", links, listed);
    return RewritePass(rewritten, "<img", "src", links, listed);
}

}  // namespace trevanto
