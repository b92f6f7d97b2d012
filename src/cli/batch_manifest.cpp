#include "cli/batch_manifest.h"

#include <fcntl.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <fstream>

namespace trevanto::cli {

std::string FormatRecord(const ManifestRecord& record) {
    QJsonObject object;
    object["input"] = QString::fromStdString(record.input);
    object["size"] = static_cast<qint64>(record.size);
    object["mtime_ns"] = QString::number(record.mtimeNs);  // past a double's exact integers
    object["options"] = QString::fromStdString(record.options);
    object["status"] = QString::fromStdString(record.status);
    if (!record.reason.empty())
        object["reason"] = QString::fromStdString(record.reason);
    object["shots"] = record.shots;
    object["frames"] = static_cast<qint64>(record.frames);
    if (record.duration > 0)
        object["duration"] = record.duration;
    object["base"] = QString::fromStdString(record.base);
    object["seconds"] = record.seconds;
    object["finished"] = QString::fromStdString(record.finished);
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

bool ParseRecord(const std::string& line, ManifestRecord& record) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject object = document.object();
    for (const char* key : {"input", "size", "mtime_ns", "options", "status", "finished"}) {
        if (!object.contains(key))
            return false;
    }
    bool number = false;
    record.mtimeNs = object["mtime_ns"].toString().toLongLong(&number);
    if (!number)
        return false;
    record.input = object["input"].toString().toStdString();
    record.size = object["size"].toInteger(-1);
    record.options = object["options"].toString().toStdString();
    record.status = object["status"].toString().toStdString();
    record.reason = object["reason"].toString().toStdString();
    record.shots = object["shots"].toInt();
    record.frames = object["frames"].toInteger();
    record.duration = object["duration"].toDouble();  // absent in older records
    record.base = object["base"].toString().toStdString();
    record.seconds = object["seconds"].toDouble();
    record.finished = object["finished"].toString().toStdString();
    return !record.input.empty();
}

std::map<std::string, ManifestRecord> ReadManifest(const std::string& path) {
    std::map<std::string, ManifestRecord> records;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        ManifestRecord record;
        if (ParseRecord(line, record))
            records[record.input] = std::move(record);
    }
    return records;
}

bool AppendRecord(const std::string& path, const ManifestRecord& record) {
    // A line cut short by a kill ends without a newline: start afresh after it.
    const std::string line = FormatRecord(record) + '\n';
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = true;
    const off_t end = ::lseek(fd, 0, SEEK_END);
    char last = '\n';
    if (end > 0 && ::pread(fd, &last, 1, end - 1) != 1)
        last = '\n';
    const std::string bytes = last == '\n' ? line : '\n' + line;
    // One write: shards sharing the folder append whole lines.
    ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ok = ::fsync(fd) == 0 && ok;
    return ::close(fd) == 0 && ok;
}

}  // namespace trevanto::cli
