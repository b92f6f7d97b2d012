#pragma once
// Writes one MIME multipart/related web archive (.mhtml): the pages, the shot
// images and the files a template refers to, each a part named by its
// Content-Id, which the pages reach through "cid:" references.
#include <fstream>
#include <string>
#include <string_view>

namespace trevanto {

inline constexpr std::string_view kMimeBoundary = "{177D111C-F4CE-40fe-870C-3594DB0EBE62}";

class WebArchiveWriter {
  public:
    WebArchiveWriter() = default;
    ~WebArchiveWriter() { Close(); }
    WebArchiveWriter(const WebArchiveWriter&) = delete;
    WebArchiveWriter& operator=(const WebArchiveWriter&) = delete;

    // Creates (or truncates) the archive. When that fails nothing is written
    // and every Add returns false.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_.is_open(); }

    // An Add whose file cannot be read writes a placeholder part and returns
    // false. The part identifier defaults to the file name part of the path; a file a
    // page names with a folder ("pics/logo.gif") takes that name instead, so
    // that the page's cid: reference finds it.
    bool AddPagePart(const std::string& pagePath, std::string_view htmlText);
    bool AddTextPart(const std::string& filePath, std::string_view contentType,
                     std::string_view identifier = {});
    bool AddBase64Part(const std::string& filePath, std::string_view contentType,
                       std::string_view identifier = {});

    // Writes the closing delimiter once and closes the file. True when the
    // archive was open and every write reached the file.
    bool Close();

  private:
    void WriteHeaderOnce();
    void WriteDelimiter();
    void WriteFilePartHeader(const std::string& filePath, std::string_view contentType,
                             std::string_view identifier, std::string_view encoding);
    void Write(std::string_view text);

    std::ofstream file_;
    bool headerWritten_ = false;
    bool closed_ = true;
    bool failed_ = false;
};

}  // namespace trevanto
