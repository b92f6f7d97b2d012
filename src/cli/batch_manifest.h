#pragma once
// The batch's manifest: DIR/trevanto-batch.jsonl, one JSON object a line,
// appended and synced to the disk after each input, so that a batch killed
// at any moment leaves at worst a last line cut short, which reading skips.
// The last record of an input is the one in force. docs/batch.md describes
// the fields.
#include <cstdint>
#include <map>
#include <string>

namespace trevanto::cli {

inline constexpr const char* kManifestName = "trevanto-batch.jsonl";

struct ManifestRecord {
    std::string input;    // the input's relative path
    int64_t size = -1;    // bytes; -1 when it could not be read
    int64_t mtimeNs = 0;  // modification time, nanoseconds since 1970
    std::string options;  // OptionsKey of the run
    std::string status;   // "done" or "failed"
    std::string reason;   // why it failed
    int32_t shots = 0;
    int64_t frames = 0;    // frames sliced
    double duration = 0;   // the video's length in seconds; 0: not known (older records)
    std::string base;      // the outputs' names under the output folder
    double seconds = 0;    // time the slicing took
    std::string finished;  // UTC, ISO 8601
};

// One line, without the newline.
std::string FormatRecord(const ManifestRecord& record);
// False for a line that is not a whole record.
bool ParseRecord(const std::string& line, ManifestRecord& record);
// The last whole record of every input; nothing for a missing file.
std::map<std::string, ManifestRecord> ReadManifest(const std::string& path);
// Appends the record as one write and syncs the file. False when it failed.
bool AppendRecord(const std::string& path, const ManifestRecord& record);

}  // namespace trevanto::cli
