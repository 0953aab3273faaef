#include "platform/SingleInstanceGuard.h"

#include "TempFolder.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace {

// One copy of the probe program, in the given socket folder.
class Probe
{
public:
    explicit Probe(const std::string& folder, const QStringList& extra = {})
    {
        m_process.setProgram(QStringLiteral(INSTANCE_GUARD_PROBE));
        m_process.setArguments(QStringList {QString::fromStdString(folder)} + extra);
        m_process.start();
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Waits until the output holds text; returns whether it came within the time.
    bool waitForOutput(const QByteArray& text, int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_output.contains(text) && clock.elapsed() < timeoutMs) {
            m_process.waitForReadyRead(100);
            m_output += m_process.readAllStandardOutput();
        }
        return m_output.contains(text);
    }
    bool finish(int timeoutMs)
    {
        const bool finished = m_process.waitForFinished(timeoutMs);
        m_output += m_process.readAllStandardOutput();
        return finished;
    }
    int exitCode() const { return m_process.exitCode(); }
    const QByteArray& output() const { return m_output; }

private:
    QProcess m_process;
    QByteArray m_output;
};

std::string socketPath(const TempFolder& folder)
{
    return folder.path("KALTORPLUSINSTANCE-" + std::to_string(::getuid()));
}

} // namespace

TEST(SingleInstanceGuard, SecondCopyEndsAtOnceAndTheFirstComesToTheFrontWithItsFile)
{
    testApplication();
    TempFolder folder;
    Probe first(folder.path());
    ASSERT_TRUE(first.waitForOutput("FIRST COPY\n")) << first.output().toStdString();

    QElapsedTimer clock;
    clock.start();
    Probe second(folder.path(), {QStringLiteral("/home/user/my programs/passed-on \u00e9.bas")});
    ASSERT_TRUE(second.finish(3000));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(second.exitCode(), 3);
    EXPECT_EQ(second.output(), "ANOTHER COPY RUNS\n");
    ASSERT_TRUE(first.waitForOutput("ACTIVATION REQUEST /home/user/my programs/passed-on \xc3\xa9.bas\n"))
        << first.output().toStdString();

    // Without a file the first copy only comes to the front.
    Probe third(folder.path());
    ASSERT_TRUE(third.finish(3000));
    EXPECT_EQ(third.exitCode(), 3);
    EXPECT_TRUE(first.waitForOutput(".bas\nACTIVATION REQUEST\n")) << first.output().toStdString();
}

TEST(SingleInstanceGuard, HandedOverFileNamedRelativelyArrivesWithTheSecondCopysFolder)
{
    testApplication();
    TempFolder folder;
    Probe first(folder.path());
    ASSERT_TRUE(first.waitForOutput("FIRST COPY\n"));
    const QString here = QDir::currentPath();
    Probe second(folder.path(), {QStringLiteral("sub/relative.bas")});
    ASSERT_TRUE(second.finish(3000));
    EXPECT_EQ(second.exitCode(), 3);
    EXPECT_TRUE(first.waitForOutput("ACTIVATION REQUEST " + (here + QStringLiteral("/sub/relative.bas\n")).toUtf8()))
        << first.output().toStdString();
}

TEST(SingleInstanceGuard, FileNotTakenByAStuckCopyIsOpenedByTheLaterCopyItself)
{
    testApplication();
    TempFolder folder;
    const QString socketFolder = QString::fromStdString(folder.path());
    // A copy that accepts connections but never answers them, as a hung one would.
    QLocalServer stuck;
    ASSERT_TRUE(stuck.listen(QString::fromStdString(socketPath(folder))));
    TSingleInstanceGuard later(QStringLiteral("KALTORPLUSINSTANCE"), socketFolder);
    EXPECT_EQ(later.start(QStringLiteral("/tmp/kept.bas")), TSingleInstanceGuard::TStart::Unguarded);
}

TEST(SingleInstanceGuard, MalformedRequestsAreDroppedWithoutReachingTheHandler)
{
    testApplication();
    TempFolder folder;
    TSingleInstanceGuard first(QStringLiteral("KALTORPLUSINSTANCE"), QString::fromStdString(folder.path()));
    ASSERT_EQ(first.start(), TSingleInstanceGuard::TStart::FirstCopy);
    int handled = 0;
    first.setActivationHandler([&](const QString&) { ++handled; });
    for (const QByteArray& request : {QByteArray("OPEN zz\n"), QByteArray("OPEN \n"), QByteArray("HELLO\n"),
                                      QByteArray(70000, 'A')}) {
        QLocalSocket client;
        client.connectToServer(first.serverName());
        ASSERT_TRUE(client.waitForConnected(1000));
        client.write(request);
        client.waitForBytesWritten(1000);
        QElapsedTimer clock;
        clock.start();
        while (client.state() == QLocalSocket::ConnectedState && clock.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_NE(client.state(), QLocalSocket::ConnectedState) << request.left(20).toStdString();
    }
    EXPECT_EQ(handled, 0);
}

TEST(SingleInstanceGuard, SocketLeftByACrashedCopyDoesNotLockTheUserOut)
{
    testApplication();
    TempFolder folder;
    Probe crashed(folder.path(), {QStringLiteral("--vanish")});
    ASSERT_TRUE(crashed.finish(5000));
    ASSERT_EQ(crashed.exitCode(), 9);
    ASSERT_TRUE(std::filesystem::exists(socketPath(folder))) << "the crashed copy left no socket";

    Probe next(folder.path());
    EXPECT_TRUE(next.waitForOutput("FIRST COPY\n")) << next.output().toStdString();
    Probe later(folder.path());
    ASSERT_TRUE(later.finish(3000));
    EXPECT_EQ(later.output(), "ANOTHER COPY RUNS\n");
}

TEST(SingleInstanceGuard, BoundButUnlistenedSocketIsTakenOver)
{
    testApplication();
    TempFolder folder;
    const std::string path = socketPath(folder);
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(descriptor);

    Probe probe(folder.path());
    EXPECT_TRUE(probe.waitForOutput("FIRST COPY\n")) << probe.output().toStdString();
}

TEST(SingleInstanceGuard, GuardInAFolderThatCannotHoldItRunsUnguarded)
{
    testApplication();
    TempFolder folder;
    TSingleInstanceGuard guard(QStringLiteral("KALTORPLUSINSTANCE"), QString::fromStdString(folder.path("missing folder")));
    EXPECT_EQ(guard.start(), TSingleInstanceGuard::TStart::Unguarded);
}

TEST(SingleInstanceGuard, SocketFileOfAnotherUserIsNeitherTrustedNorRemoved)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "handing a file to another user needs root";
    testApplication();
    TempFolder folder;
    const std::string path = socketPath(folder);
    writeWholeFile(path, "");
    ASSERT_EQ(::chown(path.c_str(), 4242, 4242), 0);
    TSingleInstanceGuard guard(QStringLiteral("KALTORPLUSINSTANCE"), QString::fromStdString(folder.path()));
    EXPECT_EQ(guard.start(), TSingleInstanceGuard::TStart::Unguarded);
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(SingleInstanceGuard, InProcessRequestReachesTheHandlerAndSignal)
{
    testApplication();
    TempFolder folder;
    const QString socketFolder = QString::fromStdString(folder.path());
    TSingleInstanceGuard first(QStringLiteral("KALTORPLUSINSTANCE"), socketFolder);
    ASSERT_EQ(first.start(), TSingleInstanceGuard::TStart::FirstCopy);
    int handled = 0, signalled = 0;
    first.setActivationHandler([&](const QString& file) {
        EXPECT_TRUE(file.isEmpty());
        ++handled;
    });
    QObject::connect(&first, &TSingleInstanceGuard::activationRequested, [&] { ++signalled; });

    TSingleInstanceGuard second(QStringLiteral("KALTORPLUSINSTANCE"), socketFolder);
    EXPECT_EQ(second.start(), TSingleInstanceGuard::TStart::AnotherCopyRuns);
    QElapsedTimer clock;
    clock.start();
    while (handled == 0 && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(signalled, 1);
}

TEST(SingleInstanceGuard, StartLockHeldForeverDelaysTheStartButNeverBlocksIt)
{
    testApplication();
    TempFolder folder;
    const int held = ::open((socketPath(folder) + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    QElapsedTimer clock;
    clock.start();
    TSingleInstanceGuard guard(QStringLiteral("KALTORPLUSINSTANCE"), QString::fromStdString(folder.path()));
    EXPECT_EQ(guard.start(), TSingleInstanceGuard::TStart::FirstCopy);
    EXPECT_LT(clock.elapsed(), 5000);
    ::close(held);
}
