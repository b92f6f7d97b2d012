#pragma once
// Checks on what trevanto-cli published: the references of the pages and of
// a web archive, and the JPEG images they point to.
#include <QByteArray>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "cli_process.h"

namespace trevanto::test {

// The values of the src attributes of <img> tags, in order.
inline std::vector<std::string> ImageSources(const std::string& html) {
    static const std::regex kImg(R"(<img[^>]*\ssrc\s*=\s*["']?([^"'\s>]+))", std::regex::icase);
    std::vector<std::string> sources;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), kImg);
         it != std::sregex_iterator(); ++it) {
        sources.push_back((*it)[1].str());
    }
    return sources;
}

// The html files of the folder.
inline std::vector<std::string> PagesIn(const std::string& folder) {
    std::vector<std::string> pages;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path().string());
    }
    return pages;
}

inline bool IsJpeg(const std::string& bytes) {
    return bytes.size() > 4 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8;
}

// The parts of a web archive by their Content-Id, bodies decoded.
inline std::map<std::string, std::string> ArchiveParts(const std::string& archive) {
    std::map<std::string, std::string> parts;
    static const std::regex kPart(R"(Content-Id: <([^>]+)>\r\nContent-Transfer-Encoding: (\w+)\r\n)"
                                  R"(Content-Type: [^\r]*\r\n\r\n)");
    std::smatch match;
    std::string::const_iterator from = archive.begin();
    while (std::regex_search(from, archive.end(), match, kPart)) {
        const auto bodyStart = match[0].second;
        const size_t start = static_cast<size_t>(bodyStart - archive.begin());
        const size_t end = archive.find("\r\n--", start);
        std::string body =
            archive.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (match[2].str() == "base64") {
            const QByteArray bytes = QByteArray::fromBase64(QByteArray::fromStdString(body));
            body = bytes.toStdString();
        }
        parts[match[1].str()] = body;
        from = bodyStart;
    }
    return parts;
}

}  // namespace trevanto::test
