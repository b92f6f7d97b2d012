#pragma once
// Runs the built trevanto-cli as a subprocess and collects its exit status,
// standard output and standard error; reads what it published.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_clips.h"

extern char** environ;

namespace trevanto::test {

struct CliResult {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline CliResult RunCli(const std::vector<std::string>& arguments) {
    TempFolder folder;
    const std::string outPath = folder.File("out.txt");
    const std::string errPath = folder.File("err.txt");
    std::vector<std::string> all{TREVANTO_CLI_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    CliResult result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            result.status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadWholeFile(outPath);
    result.err = ReadWholeFile(errPath);
    return result;
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
