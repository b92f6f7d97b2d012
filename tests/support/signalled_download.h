#pragma once
// A program ended by a signal while it downloads a stream script that the
// server never sends: the download's temporary file must not stay behind.
#include <signal.h>

#include <QProcess>
#include <chrono>
#include <string>
#include <thread>

#include "support/loopback_http_server.h"
#include "support/test_clips.h"

namespace trevanto::test {

// Starts `program` with `arguments` and the script's url, a folder of its own
// as TMPDIR; once the download has its file there, sends `signal`. Empty when
// the program ended by the signal and left no file, else what went wrong.
inline std::string EndDownloadBySignal(const QString& program, QStringList arguments, int signal) {
    LoopbackHttpServer server;
    HttpReply silent;
    silent.silent = true;
    server.Serve("/slow.asx", silent);
    const TempFolder temporary;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", QString::fromStdString(temporary.Path()));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments << QString::fromStdString(server.Url("/slow.asx")));
    if (!process.waitForStarted())
        return "not started";
    for (int tries = 0; tries < 600 && !HoldsScriptDownload(temporary.Path()); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!HoldsScriptDownload(temporary.Path()))
        return "no download began";
    ::kill(static_cast<pid_t>(process.processId()), signal);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::CrashExit)
        return "not ended by the signal";
    return HoldsScriptDownload(temporary.Path()) ? "the download's file stayed" : "";
}

}  // namespace trevanto::test
