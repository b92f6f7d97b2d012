#pragma once
// The shots file (.hpv): the header line, an empty line, the video path and
// one record "shot <number>=<start>,<image>,<end>" per shot, lines ending in
// CR LF. Saving writes a ShotList; reading queues the records in a
// PendingShotList for the document to rebuild.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shots/shot_list.h"

namespace trevanto {

inline constexpr const char* kShotsFileHeader = "Trevanto (c) 2004 Qelvar";
inline constexpr const char* kShotsFileFilter = "Shots file (*.hpv)|*.hpv|All Files (*.*)|*.*||";
inline constexpr const char* kShotsFileExtension = "hpv";

// Progress of a long operation: positions 0..32767.
using ProgressCallback = std::function<void(int32_t position)>;

// done * 32767 / total, computed without overflow; 0 when total is not positive.
int32_t ProgressPosition(int64_t done, int64_t total);

// The exact bytes of a shots file. `progress` gets k * 32767 / count before
// the k-th record is written.
std::string FormatShotsFile(const std::string& videoPath, const ShotList& shots,
                            const ProgressCallback& progress = {});

enum class ShotsFileSaveStatus {
    Written,
    NoShots,            // the list was empty: the file holds the header only
    CannotCreate,       // the file could not be created or written
    PathWithLineBreak,  // the video path has a LF: the line-based file cannot hold it
};

// False when the video path has a line break: its line would end there.
bool ShotsFileCanName(const std::string& videoPath);

// Writes the shots file to a temporary file beside `filePath` and renames it
// over the old one, so that a failure leaves the old file as it was; an
// existing read-only file is made writable first.
ShotsFileSaveStatus SaveShotsFile(const std::string& filePath, const std::string& videoPath,
                                  const ShotList& shots, const ProgressCallback& progress = {});

// A shots file is read as a stream, but no more of it than this: its most
// records (below) take about 2.5 MB.
inline constexpr int64_t kMaxShotsFileBytes = int64_t{16} << 20;
// The records a load takes at most: each costs a seek and a thumbnail.
inline constexpr int32_t kMaxShotsFileRecords = 100'000;

enum class ShotsFileOpenStatus {
    Ok,
    NotAFile,  // the path names a folder or a device
    CannotRead,
    TooLarge,        // beyond kMaxShotsFileBytes
    TooManyRecords,  // more than kMaxShotsFileRecords records
    NotShotsFile,    // line 1 is not the header
    NoLine3,         // line 2 has no line end
    NoVideoPath,     // nothing after line 2
};

// A record read from a file can be rebuilt in a video of `frameCount`
// frames: the shot lies in the video, its image frame in it or at its end
// (that frame is sought and the last frame reached).
bool IsRebuildableRecord(const Shot& record, int32_t frameCount);

class RegularFileStream;
class ShotsText;

// True when the file's first line is the shots file's header, whatever the
// file is called; never blocks on a FIFO or reads a device.
bool HasShotsFileHeader(const std::string& filePath);

// Reads a shots file in two steps: the first three lines, then the records,
// so that the document can refuse the file before it opens the video named
// in it.
class ShotsFileReader {
  public:
    ShotsFileReader();
    ~ShotsFileReader();
    ShotsFileReader(const ShotsFileReader&) = delete;
    ShotsFileReader& operator=(const ShotsFileReader&) = delete;

    // Opens the file and checks its first three lines.
    ShotsFileOpenStatus Open(const std::string& filePath);
    // The third line without its line end (may be empty).
    const std::string& VideoPath() const { return videoPath_; }

    // Empties `pending`, then queues every record after the third line, in
    // file order. Records with number, start and end all 0 are ignored. Text
    // that is not a complete record is skipped up to the next "shot" or the
    // next line. `progress` gets position * 32767 / size while reading.
    // The file is read as a stream, once. A file with more than
    // kMaxShotsFileRecords records, or one that grows beyond
    // kMaxShotsFileBytes, leaves `pending` empty.
    ShotsFileOpenStatus ReadRecords(PendingShotList& pending,
                                    const ProgressCallback& progress = {});

    // The same from text, for callers that have the records in memory.
    static ShotsFileOpenStatus ParseRecords(std::string_view text, PendingShotList& pending,
                                            const ProgressCallback& progress = {});

  private:
    std::unique_ptr<RegularFileStream> file_;
    std::unique_ptr<ShotsText> text_;
    size_t recordsStart_ = 0;
    std::string videoPath_;
};

}  // namespace trevanto
