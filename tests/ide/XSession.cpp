#include "XSession.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Runs command (found on the PATH) with DISPLAY set and collects its standard output.
std::optional<std::string> capture(std::vector<std::string> command, const std::string& display)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        ::setenv("DISPLAY", display.c_str(), 1);
        std::vector<char*> argv = pointers(command);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string output;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0)
            output.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            result.push_back(line);
    }
    return result;
}

void pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

bool programOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (::access((folder + "/" + name).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

TXDisplay::TXDisplay()
{
    int pipeFds[2];
    if (!programOnPath("Xvfb") || ::pipe(pipeFds) != 0)
        return;
    m_server = ::fork();
    if (m_server == 0) {
        ::close(pipeFds[0]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        std::vector<std::string> command = {"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                                            "1280x1024x24", "-nolisten", "tcp", "-ac", "-noreset"};
        std::vector<char*> argv = pointers(command);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    // Xvfb writes the display number once it accepts connections.
    std::string number;
    char c;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(pipeFds[0]);
    if (!number.empty())
        m_name = ":" + number;
}

TXDisplay::~TXDisplay()
{
    if (m_server > 0) {
        ::kill(m_server, SIGTERM);
        ::waitpid(m_server, nullptr, 0);
    }
}

std::optional<std::string> TXDisplay::xdotool(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> command = {"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return capture(command, m_name);
}

std::vector<std::string> TXDisplay::windowsNamed(const std::string& titlePattern) const
{
    const auto found = xdotool({"search", "--onlyvisible", "--name", "^" + titlePattern + "$"});
    return found ? lines(*found) : std::vector<std::string>{};
}

std::string TXDisplay::windowName(const std::string& window) const
{
    const auto name = xdotool({"getwindowname", window});
    if (!name)
        return {};
    std::string title = *name;
    while (!title.empty() && title.back() == '\n')
        title.pop_back();
    return title;
}

std::string TXDisplay::waitForWindow(const std::string& titlePattern, std::chrono::milliseconds timeout) const
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        const std::vector<std::string> found = windowsNamed(titlePattern);
        if (found.size() == 1)
            return found.front();
        pause(100);
    }
    return {};
}

bool TXDisplay::waitForTitle(const std::string& window, const std::string& title, std::chrono::milliseconds timeout) const
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (windowName(window) == title)
            return true;
        pause(100);
    }
    return false;
}

bool TXDisplay::focus(const std::string& window) const
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        const auto focused = xdotool({"getwindowfocus"});
        if (focused && lines(*focused) == std::vector<std::string>{window}) {
            pause(200); // the toolkit sees the focus change after the server
            return true;
        }
        xdotool({"windowfocus", window});
        pause(200);
    }
    return false;
}

void TXDisplay::key(const std::string& keys) const
{
    xdotool({"key", "--clearmodifiers", keys});
    pause(300);
}

void TXDisplay::type(const std::string& text) const
{
    xdotool({"type", "--delay", "25", text});
    pause(500); // the file dialog's completer settles
}

void TXDisplay::click(const std::string& window, int x, int y, int button) const
{
    // Not --sync: xdotool then waits its own long time-out when the pointer is there already.
    xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
    pause(300);
    xdotool({"click", std::to_string(button)});
    pause(300);
}

std::vector<std::string> TXDisplay::windowsOf(pid_t pid) const
{
    const auto found = xdotool({"search", "--onlyvisible", "--pid", std::to_string(pid)});
    return found ? lines(*found) : std::vector<std::string>{};
}

bool TXDisplay::waitForMoreWindows(pid_t pid, size_t count, std::chrono::milliseconds timeout) const
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (windowsOf(pid).size() > count)
            return true;
        pause(100);
    }
    return false;
}

void TXDisplay::screenshot(const std::string& name) const
{
    const char* folder = std::getenv("ZBX_E2E_SHOTS");
    if (folder && *folder)
        capture({"import", "-window", "root", std::string(folder) + "/" + name + ".png"}, m_name);
}

TProcess::TProcess(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                   const std::string& logFile)
{
    m_pid = ::fork();
    if (m_pid == 0) {
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, STDIN_FILENO);
        ::dup2(log, STDOUT_FILENO);
        ::dup2(log, STDERR_FILENO);
        ::setsid();
        std::vector<std::string> argvStrings = command;
        std::vector<std::string> envStrings = environment;
        std::vector<char*> argv = pointers(argvStrings);
        std::vector<char*> envp = pointers(envStrings);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
}

TProcess::~TProcess()
{
    if (m_pid > 0 && !m_status) {
        ::kill(-m_pid, SIGKILL);
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

std::optional<int> TProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!m_status && Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        pause(50);
    }
    return m_status;
}

std::vector<std::string> sanitizerEnvironment()
{
    std::vector<std::string> entries;
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name))
            entries.push_back(std::string(name) + "=" + value);
    }
    return entries;
}

std::string exactTitle(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        if (std::strchr("\\^$.|?*+()[]{}", c))
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}
