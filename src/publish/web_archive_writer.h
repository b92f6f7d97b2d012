#pragma once
// Writes one MIME multipart/related web archive (.mhtml): the pages, the shot
// images and the files a template refers to, each a part named by its
// Content-Id, which the pages reach through "cid:" references.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace trevanto {

inline constexpr std::string_view kMimeBoundary = "{177D111C-F4CE-40fe-870C-3594DB0EBE62}";

class AtomicFile;

class WebArchiveWriter {
  public:
    WebArchiveWriter();
    ~WebArchiveWriter();
    WebArchiveWriter(const WebArchiveWriter&) = delete;
    WebArchiveWriter& operator=(const WebArchiveWriter&) = delete;

    // Starts the archive in a temporary file beside `path`, which Close
    // renames over any old archive. When that fails nothing is written and
    // every Add returns false.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }

    // An Add whose file cannot be read writes a placeholder part and returns
    // false. The part identifier defaults to the file name part of the path; a file a
    // page names with a folder ("pics/logo.gif") takes that name instead, so
    // that the page's cid: reference finds it.
    bool AddPagePart(const std::string& pagePath, std::string_view htmlText);
    bool AddTextPart(const std::string& filePath, std::string_view contentType,
                     std::string_view identifier = {});
    bool AddBase64Part(const std::string& filePath, std::string_view contentType,
                       std::string_view identifier = {});

    // Writes the closing delimiter once and puts the archive in place. True
    // when the archive was open and every write reached the file; otherwise
    // an old archive of that name is left as it was.
    bool Close();

    // The files of the parts left out for their size (kMaxEmbeddedFileBytes).
    const std::vector<std::string>& TooLargeFiles() const { return tooLarge_; }

  private:
    void WriteHeaderOnce();
    void WriteDelimiter();
    void WriteFilePartHeader(const std::string& filePath, std::string_view contentType,
                             std::string_view identifier, std::string_view encoding);
    void Write(std::string_view text);

    std::unique_ptr<AtomicFile> file_;
    std::vector<std::string> tooLarge_;
    bool headerWritten_ = false;
    bool closed_ = true;
    bool failed_ = false;
};

}  // namespace trevanto
