#pragma once
// Shot lists for video editors: a CSV table of the shots and a CMX 3600 edit
// decision list (EDL) with one event per shot, cut from the video's own
// timecode into a programme that starts at 01:00:00:00.
#include <cstdint>
#include <string>

#include "common/timecode.h"
#include "shots/shot_list.h"

namespace trevanto {

inline constexpr const char* kShotListFilter =
    "CSV shot list (*.csv)|*.csv|CMX 3600 EDL (*.edl)|*.edl||";
inline constexpr const char* kShotListExtension = "csv";

// The timecode counting of a frame rate: whole frames per second, and
// whether frame numbers are dropped to follow 29.97 (or 59.94) frames per
// second.
struct EditRate {
    int32_t framesPerSecond = 25;
    bool dropFrame = false;
};
// 29.97 and 59.94 count drop-frame at 30 and 60; other rates (23.976 too)
// count whole frames at the rate rounded.
EditRate EditRateOf(double secondsPerFrame);

// "hh:mm:ss:ff", or "hh:mm:ss;ff" counting drop-frame; hours wrap at 24.
std::string EditTimecode(int64_t frame, const EditRate& rate);

// The edit frame of a video's frame: the frame itself at a constant rate;
// where the rate varies, its own time counted at the edit rate (a frame past
// the last counts on from the last one's).
int64_t EditFrameOf(int64_t frame, const EditRate& rate, const PictureTimes& times);

// Header "number,start frame,end frame,start timecode,end timecode,length,caption",
// then one row per shot: the end frame is the shot's last, the length in
// frames, the caption always quoted. CR LF line ends.
std::string FormatShotListCsv(const ShotList& shots, double secondsPerFrame,
                              const PictureTimes& times = nullptr);

// "TITLE:" and "FCM:" lines, then per shot an event "NNN  AX V C" with the
// source in and out (out is the frame after the shot) and the record in and
// out, each record in the previous record out, from 01:00:00:00; a
// "* FROM CLIP NAME:" line names the video. LF line ends.
std::string FormatEdl(const ShotList& shots, const std::string& title, const std::string& clipName,
                      double secondsPerFrame, const PictureTimes& times = nullptr);

enum class ShotListKind { Csv, Edl };
// An EDL for a path ending in ".edl" (any case), else CSV.
ShotListKind ShotListKindOf(const std::string& path);

// Writes the shot list of the video at `videoPath`; false when the file
// cannot be written.
bool SaveShotList(const std::string& path, ShotListKind kind, const ShotList& shots,
                  const std::string& videoPath, double secondsPerFrame,
                  const PictureTimes& times = nullptr);

}  // namespace trevanto
