#include "publish/web_archive_writer.h"

#include "common/paths.h"
#include "publish/part_encoders.h"

namespace trevanto {
namespace {

// RFC 2392 gives the identifier in angle brackets; browsers match cid: urls
// only against that form.
std::string ContentIdLine(std::string_view identifier) {
    return "Content-Id: <" + std::string(identifier) + ">\r\n";
}

}  // namespace

bool WebArchiveWriter::Open(const std::string& path) {
    Close();
    headerWritten_ = false;
    closed_ = false;
    file_.open(path, std::ios::binary | std::ios::trunc);
    failed_ = !file_.is_open();
    return !failed_;
}

void WebArchiveWriter::Write(std::string_view text) {
    if (file_.is_open() && !file_.write(text.data(), static_cast<std::streamsize>(text.size())))
        failed_ = true;
}

void WebArchiveWriter::WriteHeaderOnce() {
    if (headerWritten_)
        return;
    headerWritten_ = true;
    Write("Content-Transfer-Encoding: binary\r\n");
    Write("Content-Type: multipart/related; boundary=\"" + std::string(kMimeBoundary) +
          "\"\r\nMIME-Version: 1.0\r\n");
    Write("\r\nThis is a multi-part message in MIME format.\r\n\r\n");
}

void WebArchiveWriter::WriteDelimiter() {
    Write("--" + std::string(kMimeBoundary) + "\r\n");
}

bool WebArchiveWriter::AddPagePart(const std::string& pagePath, std::string_view htmlText) {
    if (!file_.is_open())
        return false;
    WriteHeaderOnce();
    WriteDelimiter();
    Write("Content-Disposition: inline\r\n");
    Write(ContentIdLine(FileNamePart(pagePath)));
    Write("Content-Transfer-Encoding: binary\r\n");
    Write("Content-Type: text/html\r\n\r\n");
    Write(htmlText);
    Write("\r\n");
    return true;
}

void WebArchiveWriter::WriteFilePartHeader(const std::string& filePath,
                                           std::string_view contentType,
                                           std::string_view identifier, std::string_view encoding) {
    const std::string name = FileNamePart(filePath);
    WriteHeaderOnce();
    WriteDelimiter();
    Write("Content-Disposition: inline; filename=\"" + name + "\"\r\n");
    Write(ContentIdLine(identifier.empty() ? std::string_view(name) : identifier));
    Write("Content-Transfer-Encoding: " + std::string(encoding) + "\r\n");
    Write("Content-Type: " + std::string(contentType) + "; name=\"" + name + "\"\r\n\r\n");
}

bool WebArchiveWriter::AddTextPart(const std::string& filePath, std::string_view contentType,
                                   std::string_view identifier) {
    if (!file_.is_open())
        return false;
    WriteFilePartHeader(filePath, contentType, identifier, "binary");
    const auto bytes = ReadPartFile(filePath);
    Write(bytes ? EncodePlain(*bytes) : std::string("\r\n"));
    return bytes.has_value();
}

bool WebArchiveWriter::AddBase64Part(const std::string& filePath, std::string_view contentType,
                                     std::string_view identifier) {
    if (!file_.is_open())
        return false;
    WriteFilePartHeader(filePath, contentType, identifier, "base64");
    const auto bytes = ReadPartFile(filePath);
    Write(bytes ? EncodeBase64(*bytes) : std::string("BASE64 encoder failed.\r\n"));
    return bytes.has_value();
}

bool WebArchiveWriter::Close() {
    if (!closed_) {
        closed_ = true;
        Write("--" + std::string(kMimeBoundary) + "--\r\n");
    }
    if (file_.is_open()) {
        file_.close();
        if (file_.fail())
            failed_ = true;
    }
    return !failed_;
}

}  // namespace trevanto
