#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

namespace mitoon::testing {

// A tiny web server on 127.0.0.1 for the browser tests: titled pages, redirections and pages
// that never arrive. Everything else is "404 Not Found".
class LocalPageServer : public QObject
{
    Q_OBJECT
public:
    explicit LocalPageServer(QObject *parent = nullptr);

    bool isListening() const { return server_.isListening(); }
    // "http://127.0.0.1:<port>" followed by `path`.
    QString url(const QString &path) const;

    void addPage(const QString &path, const QString &title);
    void addRedirect(const QString &path, const QString &target);
    // A page whose answer never comes.
    void addStalledPage(const QString &path);
    // Every answer waits this long, so that a load stays busy for a while.
    void setDelay(int milliseconds) { delay_ = milliseconds; }

    // The paths asked for, in order.
    QStringList requests;

private:
    struct Answer
    {
        QByteArray response;
        bool stalled = false;
    };

    void serve(QTcpSocket *socket);

    QTcpServer server_;
    QHash<QString, Answer> answers_;
    int delay_ = 0;
};

} // namespace mitoon::testing
