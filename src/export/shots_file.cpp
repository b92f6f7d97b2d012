#include "export/shots_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <limits>
#include <memory>

#include "common/regular_file.h"
#include "common/text_format.h"

namespace trevanto {
namespace {

constexpr std::string_view kRecordWord = "shot";
constexpr std::string_view kHeaderLine = "Trevanto (c) 2004 Qelvar\n";

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void SkipSpace(std::string_view text, size_t& pos) {
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
}

// An optionally signed decimal integer after optional white space, as the
// formatted-input "%d" reads it; values outside 32 bits do not match.
bool ReadInteger(std::string_view text, size_t& pos, int32_t& value) {
    SkipSpace(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9')
        return false;
    int64_t magnitude = 0;
    bool overflow = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (magnitude <= int64_t{std::numeric_limits<int32_t>::max()} + 1)
            magnitude = magnitude * 10 + (text[pos] - '0');
        else
            overflow = true;
        ++pos;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (overflow || signedValue < std::numeric_limits<int32_t>::min() ||
        signedValue > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

bool Expect(std::string_view text, size_t& pos, char literal) {
    if (pos >= text.size() || text[pos] != literal)
        return false;
    ++pos;
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
bool ScanRecord(std::string_view text, size_t& pos, Record& record) {
    size_t at = pos;
    if (text.substr(at, kRecordWord.size()) != kRecordWord)
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
// same line, else the start of the next line. Always past `pos`. `lineEnd`
// caches the end of the current line, so that a long line of mismatches is
// searched once.
size_t ResumeAfterMismatch(std::string_view text, size_t pos, size_t& lineEnd) {
    if (lineEnd == std::string_view::npos || lineEnd < pos) {
        lineEnd = text.find('\n', pos);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
    }
    const size_t word = text.substr(0, lineEnd).find(kRecordWord, pos + 1);
    if (word != std::string_view::npos)
        return word;
    return lineEnd + 1;
}

// Reads records from `start` to the end; positions count from the start of
// `text` for the progress.
int32_t ParseRecordsFrom(std::string_view text, size_t start, PendingShotList& pending,
                         const ProgressCallback& progress) {
    pending.Clear();
    int32_t queued = 0;
    int32_t lastPosition = -1;
    size_t pos = start;
    size_t lineEnd = std::string_view::npos;
    while (pos < text.size()) {
        if (progress) {
            const int32_t position =
                ProgressPosition(static_cast<int64_t>(pos), static_cast<int64_t>(text.size()));
            if (position != lastPosition)
                progress(position);
            lastPosition = position;
        }
        Record record;
        if (!ScanRecord(text, pos, record)) {
            pos = ResumeAfterMismatch(text, pos, lineEnd);
            continue;
        }
        if (record.number == 0 && record.startFrame == 0 && record.endFrame == 0)
            continue;
        auto shot = std::make_unique<Shot>();
        shot->startFrame = record.startFrame;
        shot->SetEnd(record.endFrame);
        shot->imageFrame = record.imageFrame;  // after SetEnd, which resets it
        pending.Append(std::move(shot));
        ++queued;
    }
    return queued;
}

// A line as text mode reads it: up to and including its LF, CR LF read as LF.
// `complete` is false when the file ends before a LF.
std::string ReadLine(std::string_view text, size_t& pos, bool& complete) {
    const size_t lineEnd = text.find('\n', pos);
    complete = lineEnd != std::string_view::npos;
    const size_t end = complete ? lineEnd + 1 : text.size();
    std::string line(text.substr(pos, end - pos));
    pos = end;
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

ShotsFileSaveStatus SaveShotsFile(const std::string& filePath, const std::string& videoPath,
                                  const ShotList& shots, const ProgressCallback& progress) {
    // A read-only file becomes writable; if that fails, creating it will tell.
    struct stat info {};
    if (::stat(filePath.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        ::chmod(filePath.c_str(), info.st_mode | S_IWUSR);
    }
    FilePtr file(std::fopen(filePath.c_str(), "wb"));
    if (!file)
        return ShotsFileSaveStatus::CannotCreate;
    const std::string text = FormatShotsFile(videoPath, shots, progress);
    const bool wrote = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!wrote || !closed)
        return ShotsFileSaveStatus::CannotCreate;
    return shots.IsEmpty() ? ShotsFileSaveStatus::NoShots : ShotsFileSaveStatus::Written;
}

bool IsRebuildableRecord(const Shot& record, int32_t frameCount) {
    return record.imageFrame >= 0 && record.imageFrame <= frameCount && record.startFrame >= 0 &&
           record.startFrame <= record.endFrame && record.endFrame < frameCount;
}

ShotsFileOpenStatus ShotsFileReader::Open(const std::string& filePath) {
    contents_.clear();
    videoPath_.clear();
    recordsStart_ = 0;
    switch (ReadRegularFile(filePath, contents_)) {
        case FileReadStatus::kRead:
            break;
        case FileReadStatus::kNotRegular:
            return ShotsFileOpenStatus::NotAFile;
        case FileReadStatus::kCannotOpen:
            return ShotsFileOpenStatus::CannotRead;
    }
    size_t pos = 0;
    bool complete = false;
    if (ReadLine(contents_, pos, complete) != kHeaderLine) {
        return ShotsFileOpenStatus::NotShotsFile;
    }
    // Line 2 must be there, line end included; its text does not matter.
    ReadLine(contents_, pos, complete);
    if (!complete) {
        return ShotsFileOpenStatus::NoLine3;
    }
    if (pos >= contents_.size()) {
        return ShotsFileOpenStatus::NoVideoPath;
    }
    videoPath_ = ReadLine(contents_, pos, complete);
    if (!videoPath_.empty() && videoPath_.back() == '\n')
        videoPath_.pop_back();
    recordsStart_ = pos;
    return ShotsFileOpenStatus::Ok;
}

int32_t ShotsFileReader::ReadRecords(PendingShotList& pending,
                                     const ProgressCallback& progress) const {
    return ParseRecordsFrom(contents_, recordsStart_, pending, progress);
}

int32_t ShotsFileReader::ParseRecords(std::string_view text, PendingShotList& pending,
                                      const ProgressCallback& progress) {
    return ParseRecordsFrom(text, 0, pending, progress);
}

}  // namespace trevanto
