// Driving a real program on a real X server, as a user would: a private Xvfb display, the
// program started as a separate process on it, and xdotool for keys and for finding windows by
// their titles. Everything waits with a deadline, so a program that never shows a window fails
// the test instead of hanging it.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

// Whether a program is found on the PATH.
bool programOnPath(const std::string& name);

// A private X server: Xvfb on the first free display, 1280x1024x24, reachable by every local
// user (so a program started under another user id can use it), stopped at the end.
class TXDisplay
{
public:
    TXDisplay();
    ~TXDisplay();
    TXDisplay(const TXDisplay&) = delete;
    TXDisplay& operator=(const TXDisplay&) = delete;

    bool running() const { return !m_name.empty(); }
    const std::string& name() const { return m_name; } // ":N"

    // Runs xdotool with arguments on this display; answers its standard output, or none
    // when it failed.
    std::optional<std::string> xdotool(const std::vector<std::string>& arguments) const;
    // Ids of the visible windows whose title matches the regular expression exactly.
    std::vector<std::string> windowsNamed(const std::string& titlePattern) const;
    std::string windowName(const std::string& window) const;
    // Waits for one visible window whose title matches; answers its id, or "" after timeout.
    std::string waitForWindow(const std::string& titlePattern,
                              std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // Waits until window's title is title; answers whether it became so.
    bool waitForTitle(const std::string& window, const std::string& title,
                      std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // Gives window the keyboard focus and waits until it has it.
    bool focus(const std::string& window) const;
    void key(const std::string& keys) const;
    void type(const std::string& text) const;
    // Moves the pointer to x, y inside window (its own coordinates) and clicks button there
    // (1 left, 3 right).
    void click(const std::string& window, int x, int y, int button = 1) const;
    // Ids of the visible windows of process pid, the menus and pop-ups among them.
    std::vector<std::string> windowsOf(pid_t pid) const;
    // Waits until process pid shows more than count windows; answers whether it did.
    bool waitForMoreWindows(pid_t pid, size_t count,
                            std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Saves a picture of the screen when ZBX_E2E_SHOTS names a folder.
    void screenshot(const std::string& name) const;

private:
    pid_t m_server = -1;
    std::string m_name;
};

// A process started with exactly the given environment (command[0] is a full path), its output
// going to logFile, killed with its process group if it is still running at the end.
class TProcess
{
public:
    TProcess(const std::vector<std::string>& command, const std::vector<std::string>& environment,
             const std::string& logFile);
    ~TProcess();
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // The exit status once it ended within timeout, else none.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(30));

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// The sanitizer settings of this process (ASAN_OPTIONS and the like) as NAME=value entries, for
// the environment of a program a test starts: a program built with the sanitizers then reports
// and suppresses as the tests do.
std::vector<std::string> sanitizerEnvironment();

// Escapes text for an exact match in the regular expressions of xdotool's search.
std::string exactTitle(const std::string& text);
