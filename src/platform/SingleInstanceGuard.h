// Keeps one copy of the program running per user. The first copy listens on a local socket
// named after the guard and the user; a later copy connects, asks the first to come to the
// front and is told to end. Nothing but that request passes between the copies: a file named
// on the later copy's command line is not handed over. The guard never stops the program from
// running: when it cannot be set up, start() says so and the program runs unguarded.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
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

    TStart start();
    // The socket's path: the folder, the guard's name, '-' and the user id.
    QString serverName() const { return m_serverName; }
    // Called from the event loop for every request of a later copy, after activationRequested.
    void setActivationHandler(std::function<void()> handler) { m_handler = std::move(handler); }

signals:
    void activationRequested();

private:
    QString m_serverName;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_handler;

    bool askRunningCopy();
    bool listen();
    void acceptConnections();
};

// Restores window when it is minimised, then raises and activates it.
void bringToFront(QWidget* window);
