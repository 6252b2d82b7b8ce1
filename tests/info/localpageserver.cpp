#include "localpageserver.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace mitoon::testing {

namespace {

QByteArray response(const QByteArray &status, const QByteArray &headers, const QByteArray &body)
{
    return "HTTP/1.1 " + status + "\r\nConnection: close\r\nCache-Control: no-store\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

LocalPageServer::LocalPageServer(QObject *parent) : QObject(parent)
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LocalPageServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void LocalPageServer::addPage(const QString &path, const QString &title)
{
    const QByteArray body =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                       "<title>%1</title></head><body><h1>%1</h1></body></html>")
            .arg(title)
            .toUtf8();
    answers_.insert(path, {response("200 OK", "Content-Type: text/html; charset=utf-8\r\n", body)});
}

void LocalPageServer::addRedirect(const QString &path, const QString &target)
{
    answers_.insert(path, {response("302 Found", "Location: " + target.toUtf8() + "\r\n", {})});
}

void LocalPageServer::addStalledPage(const QString &path)
{
    answers_.insert(path, {{}, true});
}

void LocalPageServer::serve(QTcpSocket *socket)
{
    const QByteArray request = socket->peek(socket->bytesAvailable());
    if (!request.contains("\r\n\r\n"))
        return;
    socket->readAll();
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    requests << path;
    const auto answer = answers_.value(path, {response("404 Not Found", {}, "not here")});
    if (answer.stalled)
        return;
    QTimer::singleShot(delay_, socket, [socket, bytes = answer.response] {
        socket->write(bytes);
        socket->disconnectFromHost();
    });
}

} // namespace mitoon::testing
