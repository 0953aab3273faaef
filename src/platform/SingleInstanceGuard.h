// Keeps one copy of the program running per user. The first copy listens on a local socket
// named after the guard and the user; a later copy connects, asks the first to come to the
// front, hands over the file named on its own command line, if any, and is told to end. A file
// is never lost on the way: the first copy confirms it, and a later copy whose file was not
// confirmed runs on by itself. The guard never stops the program from running: when it cannot
// be set up, start() says so and the program runs unguarded.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;
class QWidget;

class TSingleInstanceGuard : public QObject
{
    Q_OBJECT

public:
    enum class TStart {
        FirstCopy,       // this copy now answers later copies
        AnotherCopyRuns, // the running copy was asked to come to the front; end at once
        Unguarded,       // no guard could be set up; run on
    };

    // folder holds the socket; empty means $XDG_RUNTIME_DIR, else the temporary folder.
    explicit TSingleInstanceGuard(const QString& name = QStringLiteral("KALTORPLUSINSTANCE"), const QString& folder = QString(),
        QObject* parent = nullptr);
    ~TSingleInstanceGuard() override;

    // fileToHandOver, when not empty, is opened by the running copy if there is one; a relative
    // name is taken relative to this copy's working folder.
    TStart start(const QString& fileToHandOver = QString());
    // The socket's path: the folder, the guard's name, '-' and the user id.
    QString serverName() const { return m_serverName; }
    // Called from the event loop for every request of a later copy, after activationRequested,
    // with the full name of the file it handed over or an empty string.
    using TActivationHandler = std::function<void(const QString& file)>;
    void setActivationHandler(TActivationHandler handler) { m_handler = std::move(handler); }

signals:
    void activationRequested();

private:
    QString m_serverName;
    QLocalServer* m_server = nullptr;
    TActivationHandler m_handler;

    enum class TAnswer { NoCopy, Done, FileNotTaken };
    TAnswer askRunningCopy(const QString& file);
    bool listen();
    void acceptConnections();
    bool answerRequest(QLocalSocket* client, const QByteArray& line);
};

// Restores window when it is minimised, then raises and activates it.
void bringToFront(QWidget* window);
