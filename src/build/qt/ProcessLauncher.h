// TProcessLauncher: the one class that starts external programs (compiler, assembler,
// programmers, downloaders, tools). A start is described by a TCommandLine (program, parameter
// text, wait or detached) and ends in a TLaunchResult, which the finished() signal also carries,
// a failed start included.
//
// How a program file is started on this platform: a Windows executable (its first two bytes are
// "MZ") runs through wine; when wine is not installed the start fails and the launcher says so
// in an error box that names the program and tells how to install wine; any other
// executable file runs directly; a file that is not executable (a help document) is opened with
// the desktop's default application and is not waited for. The parameter text is split into
// arguments as a Windows program would split its command line. The child inherits our current
// directory and our standard output and error.
#pragma once

#include "base/Exception.h"
#include "build/CommandLine.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

enum class LaunchOutcome
{
    Finished,       // waited for until it ended; exitCode holds its status
    Crashed,        // waited for; ended by a signal
    Abandoned,      // started, but the wait stopped because the application is ending
    Detached,       // started and left to run on its own
    OpenedDocument, // handed to the desktop's default application
    FailedToStart,  // nothing runs; error says why
};

struct TLaunchResult
{
    LaunchOutcome outcome = LaunchOutcome::FailedToStart;
    int exitCode = 0;
    std::string error;
    bool reported = false; // the user was already told why it failed (wine is missing)

    bool started() const { return outcome != LaunchOutcome::FailedToStart; }
};

// A detached start that failed: "Problem Running " and the program, for the standard error box.
class EProcessStart : public Exception
{
public:
    using Exception::Exception;
};

// What a program file turns into: the program QProcess runs and its arguments, or a document.
struct TLaunchTarget
{
    enum Kind
    {
        Program,
        Document,
        Unavailable
    } kind = Unavailable;
    QString program;
    QStringList arguments;
    std::string error;        // for Unavailable
    bool needsWine = false;   // Unavailable because wine is not installed
};

inline constexpr const char* kWineNeededCaption = "Wine is needed";
// The error box text for a Windows program that cannot run because wine is missing.
std::string wineNeededMessage(const std::string& program);

// Decides how program (backslashes allowed, found without regard to letter case) is started
// with parameters. wine is the path of the wine program, empty when it is not installed.
TLaunchTarget resolveLaunchTarget(const std::string& program, const std::string& parameters,
                                  const QString& wine);

class TProcessLauncher : public QObject
{
    Q_OBJECT
public:
    using DocumentOpener = std::function<bool(const QString& path)>;

    explicit TProcessLauncher(QObject* parent = nullptr);

    // Starts command as its mode says and returns once the program ended (Wait) or started
    // (Detached). Never throws; finished() is emitted before it returns.
    TLaunchResult run(const TCommandLine& command);

    // Starts program and waits for it in 100 ms slices, processing pending events between
    // slices, until it ends or the application is ending. False when it could not be started;
    // nothing is reported then.
    bool ExecuteAndWait(const std::string& program, const std::string& parameters);
    // Starts program and returns at once; throws EProcessStart "Problem Running " + program when
    // it cannot be started (except when the launcher has already said why).
    void RunDetached(const std::string& program, const std::string& parameters);

    // Opens a document with the desktop's default application, as a start of a file that is no
    // program does; false when nothing could open it.
    bool OpenDocument(const std::string& path);
    // Replaces how documents are opened (tests record them instead of starting a viewer).
    void setDocumentOpener(DocumentOpener opener) { m_openDocument = std::move(opener); }
    // Replaces the wine program looked up on the PATH (an empty path: wine is not installed).
    void setWineProgram(const QString& wine) { m_wine = wine; }

    // Set once the application is quitting (a Quit event or aboutToQuit is seen); waits then
    // stop at the next slice and leave their program running.
    static bool applicationEnding();
    static void setApplicationEnding(bool ending);

    static constexpr int kWaitSliceMs = 100;

signals:
    void finished(const TCommandLine& command, const TLaunchResult& result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TLaunchResult waitFor(const TLaunchTarget& target);
    TLaunchResult startDetached(const TLaunchTarget& target);
    TLaunchResult openDocument(const TLaunchTarget& target);

    DocumentOpener m_openDocument;
    QString m_wine;
};
