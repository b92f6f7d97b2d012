#pragma once
// Runs the built trevanto-cli as a subprocess and collects its exit status,
// standard output and standard error; reads what it published.
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/test_clips.h"
#include "support/whole_file.h"

namespace trevanto::test {

struct CliResult {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// A run that has not ended after `timeoutMs` (-1: no bound) is killed, and
// its status is -1.
// `locale`, when given, is the run's LC_ALL.
inline CliResult RunCli(const std::vector<std::string>& arguments, int timeoutMs = -1,
                        const std::string& locale = {}) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    if (!locale.empty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", QString::fromStdString(locale));
        process.setProcessEnvironment(environment);
    }
    process.start(TREVANTO_CLI_PATH, list);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
    }
    const bool exited = process.exitStatus() == QProcess::NormalExit;
    return {exited ? process.exitCode() : -1, process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

// The src attributes of the <img> tags of every html page of the folder.
inline std::vector<std::string> ImageSourcesIn(const std::string& folder, int& pages) {
    static const std::regex kImg(R"(<img[^>]*\ssrc\s*=\s*["']?([^"'\s>]+))", std::regex::icase);
    std::vector<std::string> sources;
    pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".html")
            continue;
        ++pages;
        const std::string html = ReadWholeFile(entry.path().string());
        for (auto it = std::sregex_iterator(html.begin(), html.end(), kImg);
             it != std::sregex_iterator(); ++it)
            sources.push_back((*it)[1].str());
    }
    return sources;
}

}  // namespace trevanto::test
