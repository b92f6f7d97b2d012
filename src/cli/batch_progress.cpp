#include "cli/batch_progress.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

#include "common/text_format.h"

namespace trevanto::cli {
namespace {

void WriteEvent(std::ostream& out, const QJsonObject& event) {
    out << QJsonDocument(event).toJson(QJsonDocument::Compact).toStdString() << '\n';
    out.flush();
}

// The record's fields and the event's name.
QJsonObject RecordEvent(const ManifestRecord& record, const char* name) {
    QJsonObject event =
        QJsonDocument::fromJson(QByteArray::fromStdString(FormatRecord(record))).object();
    event["event"] = name;
    return event;
}

std::string Duration(double seconds) {
    const long whole = std::lround(std::max(0.0, seconds));
    return whole >= 3600 ? FormatText("%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60)
                         : FormatText("%ld:%02ld", whole / 60, whole % 60);
}

}  // namespace

BatchProgress::BatchProgress(std::ostream& out, std::ostream& err, bool terminal,
                             const BatchOptions& options)
    : out_(out),
      err_(err),
      live_(terminal && !options.quiet && options.progress == ProgressMode::Terminal),
      lines_(!options.quiet && options.progress == ProgressMode::Terminal),
      events_(options.progress == ProgressMode::Jsonl) {}

void BatchProgress::Start(int32_t total, int32_t finished, int64_t bytesToDo) {
    total_ = total;
    finished_ = finished;
    bytesToDo_ = bytesToDo;
    if (events_)
        WriteEvent(out_, {{"event", "start"}, {"total", total}, {"finished", finished}});
    DrawLine();
}

void BatchProgress::Recorded(const ManifestRecord& record) {
    if (events_)
        WriteEvent(out_, RecordEvent(record, "recorded"));
}

void BatchProgress::Begun(const std::string& input) {
    if (events_)
        WriteEvent(out_, {{"event", "slicing"}, {"input", QString::fromStdString(input)}});
}

double BatchProgress::FramesPerSecond() const {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    return elapsed > 0 ? static_cast<double>(frames_) / elapsed : 0.0;
}

double BatchProgress::SecondsLeft() const {
    if (bytesDone_ <= 0)
        return -1;  // unknown until a video is done
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    return elapsed * static_cast<double>(bytesToDo_ - bytesDone_) / static_cast<double>(bytesDone_);
}

void BatchProgress::DrawLine() {
    if (!live_)
        return;
    const double left = SecondsLeft();
    err_ << "\r\033[K" << finished_ << "/" << total_ << " videos";
    if (failed_ > 0)
        err_ << " (" << failed_ << " failed)";
    err_ << ", " << std::lround(FramesPerSecond()) << " frames/s";
    if (left >= 0)
        err_ << ", " << Duration(left) << " left";
    err_.flush();
}

void BatchProgress::Finished(const ManifestRecord& record, int64_t bytes) {
    ++finished_;
    failed_ += record.status == "done" ? 0 : 1;
    bytesDone_ += bytes;
    frames_ += record.frames;
    if (events_) {
        const QJsonDocument line =
            QJsonDocument::fromJson(QByteArray::fromStdString(FormatRecord(record)));
        QJsonObject event = line.object();
        event["event"] = "video";
        WriteEvent(out_, event);
    }
    if (lines_) {
        err_ << (live_ ? "\r\033[K" : "") << record.status << "  " << record.input << "  "
             << (record.status == "done"
                     ? FormatText("%d shots, %.1f s", record.shots, record.seconds)
                     : record.reason)
             << '\n';
    }
    DrawLine();
}

void BatchProgress::Tick() {
    if (Clock::now() - lastTick_ < std::chrono::seconds(1))
        return;
    lastTick_ = Clock::now();
    if (events_) {
        WriteEvent(out_, {{"event", "progress"},
                          {"finished", finished_},
                          {"total", total_},
                          {"frames_per_second", std::round(FramesPerSecond())},
                          {"seconds_left", std::round(SecondsLeft())}});
    }
    DrawLine();
}

void BatchProgress::End(int32_t done, int32_t failed) {
    if (events_)
        WriteEvent(out_, {{"event", "end"}, {"done", done}, {"failed", failed}});
    if (live_)
        err_ << "\r\033[K";
    if (lines_) {
        err_ << done << " done, " << failed << " failed, of " << total_ << " videos\n";
        err_.flush();
    }
}

}  // namespace trevanto::cli
