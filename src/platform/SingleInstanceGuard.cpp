#include "platform/SingleInstanceGuard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A request is one line: "ACTIVATE", or "OPEN" and the bytes of a full file name in hex, so
// that any name (blanks, line breaks, bytes that are not UTF-8) crosses whole. A file is
// confirmed with "OK". A client that sends more than a line this long is not one of our copies.
const QByteArray activationRequest = "ACTIVATE\n";
const QByteArray openRequest = "OPEN ";
const QByteArray fileTaken = "OK\n";
constexpr qint64 maxRequestSize = 2 * 8192 + 16;
constexpr int connectTimeoutMs = 1000;
// How long a later copy waits for the running copy to take its file before opening it itself.
constexpr int handOverTimeoutMs = 5000;

QString socketFolder(const QString& folder)
{
    if (!folder.isEmpty())
        return folder;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
}

// Serialises start() between copies started at the same moment, so that exactly one of them
// listens. The lock goes with the descriptor, also when a copy dies. A lock file that is not
// ours is not used, and the wait is bounded, so no one else can hold the program up.
class TStartLock
{
public:
    explicit TStartLock(const QString& path)
        : m_descriptor(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        struct stat info {};
        if (m_descriptor >= 0 && (::fstat(m_descriptor, &info) != 0 || info.st_uid != ::getuid() || !S_ISREG(info.st_mode))) {
            ::close(m_descriptor);
            m_descriptor = -1;
        }
        for (int attempt = 0; m_descriptor >= 0 && attempt < maxLockAttempts; ++attempt) {
            if (::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0)
                return;
            ::usleep(lockRetryMicroseconds);
        }
    }
    ~TStartLock()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    TStartLock(const TStartLock&) = delete;
    TStartLock& operator=(const TStartLock&) = delete;

private:
    static constexpr int maxLockAttempts = 100;
    static constexpr useconds_t lockRetryMicroseconds = 20000; // 2 seconds in all
    int m_descriptor;
};

enum class TSocketFile { Absent, Ours, Foreign };

// A socket file of another user may be a trap (it would make us end, or listen to a stranger);
// only files that belong to us are connected to or removed.
TSocketFile socketFileState(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return TSocketFile::Absent;
    return info.st_uid == ::getuid() && S_ISSOCK(info.st_mode) ? TSocketFile::Ours : TSocketFile::Foreign;
}

} // namespace

TSingleInstanceGuard::TSingleInstanceGuard(const QString& name, const QString& folder, QObject* parent)
    : QObject(parent), m_serverName(QDir(socketFolder(folder)).filePath(name + QLatin1Char('-') + QString::number(::getuid())))
{
}

TSingleInstanceGuard::~TSingleInstanceGuard()
{
    if (m_server)
        m_server->close();
}

TSingleInstanceGuard::TStart TSingleInstanceGuard::start(const QString& fileToHandOver)
{
    TStartLock lock(m_serverName + QStringLiteral(".lock"));
    switch (socketFileState(m_serverName)) {
    case TSocketFile::Foreign:
        return TStart::Unguarded;
    case TSocketFile::Ours:
        switch (askRunningCopy(fileToHandOver)) {
        case TAnswer::Done:
            return TStart::AnotherCopyRuns;
        case TAnswer::FileNotTaken:
            // The running copy is alive but did not confirm the file: open it here instead.
            return TStart::Unguarded;
        case TAnswer::NoCopy:
            // Nobody answers: the file was left by a copy that crashed.
            QLocalServer::removeServer(m_serverName);
            break;
        }
        break;
    case TSocketFile::Absent:
        break;
    }
    return listen() ? TStart::FirstCopy : TStart::Unguarded;
}

TSingleInstanceGuard::TAnswer TSingleInstanceGuard::askRunningCopy(const QString& file)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(connectTimeoutMs))
        return TAnswer::NoCopy;
    if (file.isEmpty()) {
        socket.write(activationRequest);
        socket.waitForBytesWritten(connectTimeoutMs);
        socket.disconnectFromServer();
        return TAnswer::Done;
    }
    socket.write(openRequest + QFile::encodeName(QFileInfo(file).absoluteFilePath()).toHex() + '\n');
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (answer.size() < fileTaken.size() && clock.elapsed() < handOverTimeoutMs
           && socket.state() == QLocalSocket::ConnectedState) {
        socket.waitForReadyRead(100);
        answer += socket.read(fileTaken.size() - answer.size());
    }
    answer += socket.read(fileTaken.size() - answer.size());
    socket.abort();
    return answer == fileTaken ? TAnswer::Done : TAnswer::FileNotTaken;
}

bool TSingleInstanceGuard::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &TSingleInstanceGuard::acceptConnections);
    return true;
}

void TSingleInstanceGuard::acceptConnections()
{
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        auto handle = [this, client, received] {
            *received += client->read(maxRequestSize + 1 - received->size());
            if (received->size() > maxRequestSize) {
                client->abort();
                return;
            }
            const qsizetype lineEnd = received->indexOf('\n');
            if (lineEnd < 0)
                return;
            const QByteArray line = received->left(lineEnd + 1);
            received->clear();
            if (!answerRequest(client, line))
                client->abort();
        };
        connect(client, &QLocalSocket::readyRead, this, handle);
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        if (client->bytesAvailable() > 0)
            handle();
    }
}

bool TSingleInstanceGuard::answerRequest(QLocalSocket* client, const QByteArray& line)
{
    QString file;
    if (line.startsWith(openRequest)) {
        const QByteArray hex = line.mid(openRequest.size()).chopped(1);
        const QByteArray name = QByteArray::fromHex(hex);
        if (name.isEmpty() || name.toHex() != hex.toLower())
            return false;
        file = QFile::decodeName(name);
    } else if (line != activationRequest) {
        return false;
    }
    emit activationRequested();
    if (m_handler)
        m_handler(file);
    if (!file.isEmpty())
        client->write(fileTaken);
    client->disconnectFromServer();
    return true;
}

void bringToFront(QWidget* window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}
