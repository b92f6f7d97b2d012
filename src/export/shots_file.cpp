#include "export/shots_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

#include "common/atomic_file.h"
#include "common/regular_file.h"
#include "common/text_format.h"

namespace trevanto {

// The text of a shots file, held in memory or read from the file piece by
// piece as the reader moves on; positions count from the start of the file.
// Only the text from the record being read onwards is kept.
class ShotsText {
  public:
    explicit ShotsText(std::string_view whole) : text_(whole), size_(whole.size()) {}
    explicit ShotsText(RegularFileStream& file)
        : file_(&file), size_(static_cast<size_t>(file.Size())) {}

    // True when there is a character at `pos`; reads on as far as needed.
    bool Has(size_t pos) {
        while (pos >= base_ + text_.size() && file_ != nullptr && !atEnd_ &&
               status_ == FileReadStatus::kRead) {
            status_ = file_->ReadChunk(owned_, atEnd_);
            text_ = owned_;
        }
        return pos >= base_ && pos < base_ + text_.size();
    }
    // Only after Has(pos).
    char At(size_t pos) const { return text_[pos - base_]; }
    // The text before `pos` is not looked at again.
    void Forget(size_t pos) {
        if (file_ != nullptr && pos > base_ && pos - base_ >= kKeepBeforeErase) {
            owned_.erase(0, std::min(pos - base_, owned_.size()));
            base_ = pos;
            text_ = owned_;
        }
    }
    // The size when reading began, for the progress.
    size_t Size() const { return size_; }
    FileReadStatus Status() const { return status_; }

  private:
    static constexpr size_t kKeepBeforeErase = 64 * 1024;
    RegularFileStream* file_ = nullptr;
    std::string owned_;
    std::string_view text_;
    size_t base_ = 0;
    size_t size_ = 0;
    bool atEnd_ = false;
    FileReadStatus status_ = FileReadStatus::kRead;
};

namespace {

constexpr std::string_view kRecordWord = "shot";
constexpr std::string_view kHeaderLine = "Trevanto (c) 2004 Qelvar\n";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void SkipSpace(ShotsText& text, size_t& pos) {
    while (text.Has(pos) && IsSpace(text.At(pos)))
        ++pos;
}

bool IsDigit(ShotsText& text, size_t pos) {
    return text.Has(pos) && text.At(pos) >= '0' && text.At(pos) <= '9';
}

// An optionally signed decimal integer after optional white space, as the
// formatted-input "%d" reads it; values outside 32 bits do not match.
bool ReadInteger(ShotsText& text, size_t& pos, int32_t& value) {
    SkipSpace(text, pos);
    bool negative = false;
    if (text.Has(pos) && (text.At(pos) == '+' || text.At(pos) == '-')) {
        negative = text.At(pos) == '-';
        ++pos;
    }
    if (!IsDigit(text, pos))
        return false;
    int64_t magnitude = 0;
    bool overflow = false;
    for (; IsDigit(text, pos); ++pos) {
        if (magnitude <= int64_t{std::numeric_limits<int32_t>::max()} + 1)
            magnitude = magnitude * 10 + (text.At(pos) - '0');
        else
            overflow = true;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (overflow || signedValue < std::numeric_limits<int32_t>::min() ||
        signedValue > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

bool Expect(ShotsText& text, size_t& pos, char literal) {
    if (!text.Has(pos) || text.At(pos) != literal)
        return false;
    ++pos;
    return true;
}

bool StartsRecordWord(ShotsText& text, size_t pos) {
    for (size_t i = 0; i < kRecordWord.size(); ++i) {
        if (!text.Has(pos + i) || text.At(pos + i) != kRecordWord[i])
            return false;
    }
    return true;
}

struct Record {
    int32_t number = 0;
    int32_t startFrame = 0;
    int32_t imageFrame = 0;
    int32_t endFrame = 0;
};

// One record "shot %d=%d,%d,%d" and the white space after it. On success
// `pos` is past that white space.
bool ScanRecord(ShotsText& text, size_t& pos, Record& record) {
    size_t at = pos;
    if (!StartsRecordWord(text, at))
        return false;
    at += kRecordWord.size();
    if (!ReadInteger(text, at, record.number) || !Expect(text, at, '=') ||
        !ReadInteger(text, at, record.startFrame) || !Expect(text, at, ',') ||
        !ReadInteger(text, at, record.imageFrame) || !Expect(text, at, ',') ||
        !ReadInteger(text, at, record.endFrame))
        return false;
    SkipSpace(text, at);
    pos = at;
    return true;
}

// Where reading goes on after text that is no record: the next "shot" on the
// same line, else the start of the next line. Always past `pos`.
size_t ResumeAfterMismatch(ShotsText& text, size_t pos) {
    size_t at = pos + 1;
    for (; text.Has(at); ++at) {
        if (text.At(at) == '\n')
            return at + 1;
        if (StartsRecordWord(text, at))
            return at;
    }
    return at;
}

// Reads records from `pos` to the end. More than kMaxShotsFileRecords are
// refused with nothing queued.
ShotsFileOpenStatus ParseRecordsFrom(ShotsText& text, size_t pos, PendingShotList& pending,
                                     const ProgressCallback& progress) {
    pending.Clear();
    int32_t lastPosition = -1;
    while (text.Has(pos)) {
        text.Forget(pos);
        if (progress) {
            const int32_t position =
                ProgressPosition(static_cast<int64_t>(std::min(pos, text.Size())),
                                 static_cast<int64_t>(text.Size()));
            if (position != lastPosition)
                progress(position);
            lastPosition = position;
        }
        Record record;
        if (!ScanRecord(text, pos, record)) {
            pos = ResumeAfterMismatch(text, pos);
            continue;
        }
        if (record.number == 0 && record.startFrame == 0 && record.endFrame == 0)
            continue;
        if (pending.ShotCount() >= kMaxShotsFileRecords) {
            pending.Clear();
            return ShotsFileOpenStatus::TooManyRecords;
        }
        auto shot = std::make_unique<Shot>();
        shot->startFrame = record.startFrame;
        shot->SetEnd(record.endFrame);
        shot->imageFrame = record.imageFrame;  // after SetEnd, which resets it
        pending.Append(std::move(shot));
    }
    switch (text.Status()) {
        case FileReadStatus::kRead:
            return ShotsFileOpenStatus::Ok;
        case FileReadStatus::kTooLarge:
            pending.Clear();
            return ShotsFileOpenStatus::TooLarge;
        case FileReadStatus::kCannotOpen:
        case FileReadStatus::kNotRegular:
            break;
    }
    pending.Clear();
    return ShotsFileOpenStatus::CannotRead;
}

// A line as text mode reads it: up to and including its LF, CR LF read as LF.
// `complete` is false when the file ends before a LF.
std::string ReadLine(ShotsText& text, size_t& pos, bool& complete) {
    std::string line;
    complete = false;
    for (; text.Has(pos) && !complete; ++pos) {
        line += text.At(pos);
        complete = text.At(pos) == '\n';
    }
    if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') {
        line.erase(line.size() - 2, 1);
    }
    return line;
}

}  // namespace

int32_t ProgressPosition(int64_t done, int64_t total) {
    if (total <= 0)
        return 0;
    return static_cast<int32_t>(done * 32767 / total);
}

std::string FormatShotsFile(const std::string& videoPath, const ShotList& shots,
                            const ProgressCallback& progress) {
    std::string text;
    text += kShotsFileHeader;
    text += "\r\n\r\n";
    text += videoPath;
    text += "\r\n";
    const int32_t count = shots.ShotCount();
    int32_t k = 0;
    for (const auto& shot : shots) {
        if (progress)
            progress(ProgressPosition(k, count));
        ++k;
        if (!shot)
            continue;
        text += FormatText("shot %ld=%ld,%ld,%ld\r\n", static_cast<long>(shot->number),
                           static_cast<long>(shot->startFrame), static_cast<long>(shot->imageFrame),
                           static_cast<long>(shot->endFrame));
    }
    return text;
}

bool ShotsFileCanName(const std::string& videoPath) {
    return videoPath.find('\n') == std::string::npos;
}

ShotsFileSaveStatus SaveShotsFile(const std::string& filePath, const std::string& videoPath,
                                  const ShotList& shots, const ProgressCallback& progress) {
    if (!ShotsFileCanName(videoPath))
        return ShotsFileSaveStatus::PathWithLineBreak;
    // A read-only file becomes writable; if that fails, replacing it will tell.
    struct stat info {};
    if (::stat(filePath.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        ::chmod(filePath.c_str(), info.st_mode | S_IWUSR);
    }
    // Written beside the old file and renamed over it: a full disk leaves the
    // old file whole.
    if (!WriteFileAtomically(filePath, FormatShotsFile(videoPath, shots, progress)))
        return ShotsFileSaveStatus::CannotCreate;
    return shots.IsEmpty() ? ShotsFileSaveStatus::NoShots : ShotsFileSaveStatus::Written;
}

bool IsRebuildableRecord(const Shot& record, int32_t frameCount) {
    return record.imageFrame >= 0 && record.imageFrame <= frameCount && record.startFrame >= 0 &&
           record.startFrame <= record.endFrame && record.endFrame < frameCount;
}

ShotsFileReader::ShotsFileReader() = default;
ShotsFileReader::~ShotsFileReader() = default;

ShotsFileOpenStatus ShotsFileReader::Open(const std::string& filePath) {
    videoPath_.clear();
    recordsStart_ = 0;
    file_ = std::make_unique<RegularFileStream>();
    switch (file_->Open(filePath, kMaxShotsFileBytes)) {
        case FileReadStatus::kRead:
            break;
        case FileReadStatus::kNotRegular:
            return ShotsFileOpenStatus::NotAFile;
        case FileReadStatus::kTooLarge:
            return ShotsFileOpenStatus::TooLarge;
        case FileReadStatus::kCannotOpen:
            return ShotsFileOpenStatus::CannotRead;
    }
    text_ = std::make_unique<ShotsText>(*file_);
    ShotsText& text = *text_;
    size_t pos = 0;
    bool complete = false;
    const bool header = ReadLine(text, pos, complete) == kHeaderLine;
    if (text.Status() == FileReadStatus::kTooLarge)
        return ShotsFileOpenStatus::TooLarge;
    if (!header) {
        return ShotsFileOpenStatus::NotShotsFile;
    }
    // Line 2 must be there, line end included; its text does not matter.
    ReadLine(text, pos, complete);
    if (!complete) {
        return ShotsFileOpenStatus::NoLine3;
    }
    if (!text.Has(pos)) {
        return ShotsFileOpenStatus::NoVideoPath;
    }
    videoPath_ = ReadLine(text, pos, complete);
    if (!videoPath_.empty() && videoPath_.back() == '\n')
        videoPath_.pop_back();
    if (text.Status() == FileReadStatus::kTooLarge)
        return ShotsFileOpenStatus::TooLarge;
    recordsStart_ = pos;
    return ShotsFileOpenStatus::Ok;
}

ShotsFileOpenStatus ShotsFileReader::ReadRecords(PendingShotList& pending,
                                                 const ProgressCallback& progress) {
    if (!text_) {
        pending.Clear();
        return ShotsFileOpenStatus::CannotRead;
    }
    const ShotsFileOpenStatus status = ParseRecordsFrom(*text_, recordsStart_, pending, progress);
    text_.reset();
    file_.reset();
    return status;
}

ShotsFileOpenStatus ShotsFileReader::ParseRecords(std::string_view text, PendingShotList& pending,
                                                  const ProgressCallback& progress) {
    ShotsText whole(text);
    return ParseRecordsFrom(whole, 0, pending, progress);
}

bool HasShotsFileHeader(const std::string& filePath) {
    ShotsFileReader reader;
    switch (reader.Open(filePath)) {
        case ShotsFileOpenStatus::Ok:
        case ShotsFileOpenStatus::NoLine3:
        case ShotsFileOpenStatus::NoVideoPath:
            return true;
        default:
            return false;
    }
}

}  // namespace trevanto
