// Starting external programs with QProcess, waiting in slices while the event loop runs.
#include "build/qt/ProcessLauncher.h"

#include "build/WindowsCommandLine.h"
#include "platform/DesktopOpen.h"
#include "platform/FileLookup.h"
#include "platform/MessageBoxes.h"
#include "platform/Folders.h"
#include "platform/QtText.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

namespace {

bool s_applicationEnding = false;

bool isWindowsExecutable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(2) == "MZ";
}

QStringList toArguments(const std::string& parameters)
{
    QStringList arguments;
    for (const std::string& argument : splitWindowsCommandLine(parameters))
        arguments << utf8ToQString(argument);
    return arguments;
}

TLaunchResult failure(std::string error)
{
    TLaunchResult result;
    result.outcome = LaunchOutcome::FailedToStart;
    result.error = std::move(error);
    return result;
}

TLaunchResult outcome(LaunchOutcome kind, int exitCode = 0)
{
    TLaunchResult result;
    result.outcome = kind;
    result.exitCode = exitCode;
    return result;
}

// The process's standard input is the null device: our programs are GUI programs and must not
// read the IDE's input; output and errors go where ours go.
void prepare(QProcess& process, const TLaunchTarget& target)
{
    process.setProgram(target.program);
    process.setArguments(target.arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
}

} // namespace

TLaunchTarget resolveLaunchTarget(const std::string& program, const std::string& parameters,
                                  const QString& wine)
{
    TLaunchTarget target;
    const std::string local = toLocalPath(program);
    if (local.empty()) {
        target.error = "no program named";
        return target;
    }
    const QString path =
        utf8ToQString(local.front() == '/' ? resolveIgnoringCase("", local) : local);
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        target.error = "no such program file";
        return target;
    }
    target.arguments = toArguments(parameters);
    if (isWindowsExecutable(path)) {
        if (wine.isEmpty()) {
            target.error = "a Windows program needs wine, which is not installed";
            target.needsWine = true;
            return target;
        }
        target.kind = TLaunchTarget::Program;
        target.program = wine;
        target.arguments.prepend(path);
    } else if (info.isExecutable()) {
        target.kind = TLaunchTarget::Program;
        target.program = path;
    } else {
        target.kind = TLaunchTarget::Document;
        target.program = path;
        target.arguments.clear();
    }
    return target;
}

std::string wineNeededMessage(const std::string& program)
{
    return "\"" + program + "\" is a Windows program. It runs through wine, which is not installed.\r\r"
           "Install wine with your system's package manager (on Debian and Ubuntu: "
           "sudo apt install wine) and try again.";
}

TProcessLauncher::TProcessLauncher(QObject* parent)
    : QObject(parent), m_openDocument([](const QString& path) {
          return openWithDefaultApplication(qStringToLocal(path));
      }),
      m_wine(QStandardPaths::findExecutable("wine"))
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
        connect(application, &QCoreApplication::aboutToQuit, this,
                [] { setApplicationEnding(true); });
    }
}

bool TProcessLauncher::applicationEnding()
{
    return s_applicationEnding || QCoreApplication::closingDown();
}

void TProcessLauncher::setApplicationEnding(bool ending)
{
    s_applicationEnding = ending;
}

bool TProcessLauncher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
        setApplicationEnding(true);
    return QObject::eventFilter(watched, event);
}

TLaunchResult TProcessLauncher::run(const TCommandLine& command)
{
    const TLaunchTarget target = resolveLaunchTarget(command.program, command.parameters, m_wine);
    TLaunchResult result;
    if (target.kind == TLaunchTarget::Unavailable) {
        result = failure(target.error);
        if (target.needsWine) {
            messageBoxes().show(TMessageKind::Error, kWineNeededCaption, wineNeededMessage(command.program),
                                TMessageButtons::Ok);
            result.reported = true;
        }
    }
    else if (target.kind == TLaunchTarget::Document)
        result = openDocument(target);
    else if (command.mode == LaunchMode::Wait)
        result = waitFor(target);
    else
        result = startDetached(target);
    emit finished(command, result);
    return result;
}

bool TProcessLauncher::ExecuteAndWait(const std::string& program, const std::string& parameters)
{
    return run(TCommandLine{program, parameters, LaunchMode::Wait}).started();
}

void TProcessLauncher::RunDetached(const std::string& program, const std::string& parameters)
{
    const TLaunchResult result = run(TCommandLine{program, parameters, LaunchMode::Detached});
    if (!result.started() && !result.reported)
        throw EProcessStart(problemRunningMessage(program));
}

bool TProcessLauncher::OpenDocument(const std::string& path)
{
    return m_openDocument && m_openDocument(localToQString(path));
}

TLaunchResult TProcessLauncher::openDocument(const TLaunchTarget& target)
{
    if (!m_openDocument || !m_openDocument(target.program))
        return failure("no application opens this document");
    return outcome(LaunchOutcome::OpenedDocument);
}

// A process still running when the wait is abandoned is handed to the application object, which
// deletes it when it ends; until then the program runs on.
TLaunchResult TProcessLauncher::waitFor(const TLaunchTarget& target)
{
    auto process = std::make_unique<QProcess>();
    prepare(*process, target);
    process->start();
    if (!process->waitForStarted(-1))
        return failure(qStringToUtf8(process->errorString()));
    while (process->state() != QProcess::NotRunning) {
        if (process->waitForFinished(kWaitSliceMs) || process->state() == QProcess::NotRunning)
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (applicationEnding()) {
            QProcess* running = process.release();
            running->setParent(QCoreApplication::instance());
            connect(running, &QProcess::finished, running, &QObject::deleteLater);
            return outcome(LaunchOutcome::Abandoned);
        }
    }
    if (process->exitStatus() == QProcess::CrashExit)
        return outcome(LaunchOutcome::Crashed, process->exitCode());
    return outcome(LaunchOutcome::Finished, process->exitCode());
}

TLaunchResult TProcessLauncher::startDetached(const TLaunchTarget& target)
{
    QProcess process;
    prepare(process, target);
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return failure(qStringToUtf8(process.errorString()));
    return outcome(LaunchOutcome::Detached);
}
