#pragma once
// What FFmpeg may be handed. FFmpeg reads a leading "name:" (and
// "subfile,") as a protocol, and some protocols and demuxers open further
// inputs named inside the text or the file (concat:, subfile, async:,
// pipe:, the concat demuxer): a FIFO behind one would block the open for
// ever. So FFmpeg only ever gets a local regular file, as "file:" and the
// path, or a URL of a network scheme the program plays, each with the
// protocols it may use.
#include <optional>
#include <string>
#include <string_view>

#include "video/open_failure.h"

namespace trevanto {

enum class InputKind {
    LocalFile,
    Network,  // http, https, mmsh, mmst, rtsp, rtmp(s); mms as mmsh, then mmst
    Refused,  // another protocol prefix, with no file of that name
};

struct GuardedInput {
    InputKind kind = InputKind::Refused;
    std::string url;        // for FFmpeg: "file:" and the path, or the network URL
    std::string protocols;  // FFmpeg's protocol_whitelist for it
    // Tried when `url` does not open: mms:// is MMS over http (mmsh) or,
    // failing that, over tcp (mmst).
    std::string fallback;
};

// How `text` (a path, or a URL) is opened. A text with a protocol prefix
// other than the network ones is a local path when a file of that name
// exists, else refused. A leading "file:" names a local path.
GuardedInput GuardInput(std::string_view text);

// Why the local file `url` (as GuardInput gives it) cannot be read as a
// video: missing, or not a regular file (a folder, a FIFO, a device);
// nothing when it is a regular file.
std::optional<OpenFailure> CheckLocalFile(const GuardedInput& input);

// The demuxers that may read an input, comma separated: all but those that
// open further inputs named inside the file (concat).
const std::string& AllowedDemuxers();

}  // namespace trevanto
