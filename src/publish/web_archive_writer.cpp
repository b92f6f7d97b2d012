#include "publish/web_archive_writer.h"

#include "common/atomic_file.h"
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

WebArchiveWriter::WebArchiveWriter() = default;

WebArchiveWriter::~WebArchiveWriter() {
    Close();
}

bool WebArchiveWriter::Open(const std::string& path) {
    Close();
    headerWritten_ = false;
    closed_ = false;
    tooLarge_.clear();
    file_ = std::make_unique<AtomicFile>(path);
    failed_ = !file_->Open();
    if (failed_)
        file_.reset();
    return !failed_;
}

void WebArchiveWriter::Write(std::string_view text) {
    if (file_ && !file_->Write(text))
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
    if (!file_)
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
    if (!file_)
        return false;
    WriteFilePartHeader(filePath, contentType, identifier, "binary");
    bool tooLarge = false;
    const auto bytes = ReadPartFile(filePath, tooLarge);
    if (tooLarge)
        tooLarge_.push_back(filePath);
    Write(bytes ? EncodePlain(*bytes) : std::string("\r\n"));
    return bytes.has_value();
}

bool WebArchiveWriter::AddBase64Part(const std::string& filePath, std::string_view contentType,
                                     std::string_view identifier) {
    if (!file_)
        return false;
    WriteFilePartHeader(filePath, contentType, identifier, "base64");
    bool tooLarge = false;
    const auto bytes = ReadPartFile(filePath, tooLarge);
    if (tooLarge)
        tooLarge_.push_back(filePath);
    Write(bytes ? EncodeBase64(*bytes) : std::string("BASE64 encoder failed.\r\n"));
    return bytes.has_value();
}

bool WebArchiveWriter::Close() {
    if (!closed_) {
        closed_ = true;
        Write("--" + std::string(kMimeBoundary) + "--\r\n");
    }
    if (file_) {
        if (!file_->Commit())
            failed_ = true;
        file_.reset();
    }
    return !failed_;
}

}  // namespace trevanto
