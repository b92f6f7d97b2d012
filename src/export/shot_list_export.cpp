#include "export/shot_list_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "common/paths.h"
#include "export/text_file.h"

namespace trevanto {
namespace {

// An hour of programme time in frames: where the record timecode starts.
int64_t FramesPerHour(const EditRate& rate) {
    const int64_t nominal = int64_t{rate.framesPerSecond} * 3600;
    // Drop-frame skips the first frame numbers of every minute but each tenth.
    return rate.dropFrame ? nominal - int64_t{rate.framesPerSecond / 15} * 54 : nominal;
}

// A text cell, always quoted. A spreadsheet would run a cell that starts with
// = + - @ (or a tab or CR before one) as a formula, even from a quoted cell:
// such a text gets a ' in front, which spreadsheets show as text.
std::string QuoteCsvText(const std::string& text) {
    std::string quoted = "\"";
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        quoted += '\'';
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

}  // namespace

EditRate EditRateOf(double secondsPerFrame) {
    const double fps = secondsPerFrame > 0.00001 ? 1.0 / secondsPerFrame : 25.0;
    for (const int whole : {30, 60}) {
        if (std::fabs(fps - whole * 1000.0 / 1001.0) < 0.005)
            return {whole, true};
    }
    const long rounded = std::lround(fps);
    return {static_cast<int32_t>(rounded < 1 ? 1 : rounded > 1000 ? 1000 : rounded), false};
}

std::string EditTimecode(int64_t frame, const EditRate& rate) {
    const int64_t fps = rate.framesPerSecond;
    if (frame < 0)
        frame = 0;
    if (rate.dropFrame) {
        // Count the dropped frame numbers back in: `drop` per minute, except
        // in the minutes 0, 10, 20, ...
        const int64_t drop = fps / 15;
        const int64_t perMinute = fps * 60 - drop;
        const int64_t perTenMinutes = fps * 600 - drop * 9;
        const int64_t tens = frame / perTenMinutes;
        const int64_t rest = frame % perTenMinutes;
        frame += drop * 9 * tens + (rest > drop ? drop * ((rest - drop) / perMinute) : 0);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%02lld",
                  static_cast<long long>(frame / (fps * 3600) % 24),
                  static_cast<long long>(frame / (fps * 60) % 60),
                  static_cast<long long>(frame / fps % 60), rate.dropFrame ? ';' : ':',
                  static_cast<long long>(frame % fps));
    return text;
}

int64_t EditFrameOf(int64_t frame, const EditRate& rate, const PictureTimes& times) {
    if (!times || times->empty() || frame < 0)
        return frame;
    const auto last = static_cast<int64_t>(times->size()) - 1;
    const double perSecond =
        rate.dropFrame ? rate.framesPerSecond * 1000.0 / 1001.0 : rate.framesPerSecond;
    const int64_t within = std::min(frame, last);
    return std::llround((*times)[static_cast<size_t>(within)] * perSecond) + (frame - within);
}

std::string FormatShotListCsv(const ShotList& shots, double secondsPerFrame,
                              const PictureTimes& times) {
    const EditRate rate = EditRateOf(secondsPerFrame);
    const auto timecode = [&](int64_t frame) {
        return EditTimecode(EditFrameOf(frame, rate, times), rate);
    };
    std::string text =
        "number,start frame,end frame,start timecode,end timecode,length,caption\r\n";
    for (const auto& shot : shots) {
        text += std::to_string(shot->number) + "," + std::to_string(shot->startFrame) + "," +
                std::to_string(shot->endFrame) + "," + timecode(shot->startFrame) + "," +
                timecode(shot->endFrame) + "," +
                std::to_string(int64_t{shot->endFrame} - shot->startFrame + 1) + "," +
                QuoteCsvText(shot->caption) + "\r\n";
    }
    return text;
}

std::string FormatEdl(const ShotList& shots, const std::string& title, const std::string& clipName,
                      double secondsPerFrame, const PictureTimes& times) {
    const EditRate rate = EditRateOf(secondsPerFrame);
    std::string text = "TITLE: " + title + "\n" +
                       (rate.dropFrame ? "FCM: DROP FRAME\n" : "FCM: NON-DROP FRAME\n") + "\n";
    int64_t record = FramesPerHour(rate);
    int event = 0;
    for (const auto& shot : shots) {
        if (int64_t{shot->endFrame} - shot->startFrame + 1 < 1)
            continue;
        // Source and record in edit frames: the shot's span in time where the
        // rate varies.
        const int64_t in = EditFrameOf(shot->startFrame, rate, times);
        const int64_t out = EditFrameOf(int64_t{shot->endFrame} + 1, rate, times);
        const int64_t length = std::max<int64_t>(out - in, 1);
        char line[160];
        std::snprintf(line, sizeof line, "%03d  AX       V     C        %s %s %s %s\n", ++event,
                      EditTimecode(in, rate).c_str(), EditTimecode(in + length, rate).c_str(),
                      EditTimecode(record, rate).c_str(),
                      EditTimecode(record + length, rate).c_str());
        text += line;
        text += "* FROM CLIP NAME: " + clipName + "\n\n";
        record += length;
    }
    return text;
}

ShotListKind ShotListKindOf(const std::string& path) {
    return HasExtension(path, "edl") ? ShotListKind::Edl : ShotListKind::Csv;
}

bool SaveShotList(const std::string& path, ShotListKind kind, const ShotList& shots,
                  const std::string& videoPath, double secondsPerFrame, const PictureTimes& times) {
    if (kind == ShotListKind::Csv)
        return WriteTextFile(path, FormatShotListCsv(shots, secondsPerFrame, times));
    const std::string clip = FileNamePart(videoPath);
    const std::string extension = ExtensionPart(clip);
    const std::string title =
        extension.empty() ? clip : clip.substr(0, clip.size() - extension.size() - 1);
    return WriteTextFile(path, FormatEdl(shots, title, clip, secondsPerFrame, times));
}

}  // namespace trevanto
