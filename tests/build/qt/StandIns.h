// Stand-in programs for the build tool tests: small shell scripts that record their arguments
// and exit as told, and helpers to wait for what a detached program leaves behind.
#pragma once

#include "platform/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <filesystem>
#include <string>
#include <vector>

// Writes an executable shell script.
inline void writeScript(const std::string& path, const std::string& body)
{
    writeWholeFile(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::group_exec);
}

// A script that writes each argument on its own line to record, then exits with status.
inline void writeRecorder(const std::string& path, const std::string& record, int status = 0)
{
    writeScript(path, "printf '%s\\n' \"$@\" > '" + record + "'\nexit " + std::to_string(status));
}

inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// Waits (processing events) until path exists and its last line is written, at most 10 s.
inline std::vector<std::string> awaitRecord(const std::string& path)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        std::error_code error;
        if (std::filesystem::exists(path, error)) {
            const std::string text = readWholeFile(path);
            if (!text.empty() && text.back() == '\n')
                return splitLines(text);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return {};
}

using Lines = std::vector<std::string>;
