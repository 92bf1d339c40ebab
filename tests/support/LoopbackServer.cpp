#include "support/LoopbackServer.h"

#include <QTcpSocket>
#include <QTimer>

QString LoopbackServer::url(const QByteArray& path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_hosts.value(0)->serverPort()) + QString::fromLatin1(path);
}

QString LoopbackServer::hostUrl(int host, const QByteArray& path)
{
    QTcpServer*& server = m_hosts[host];
    if (!server) {
        server = new QTcpServer(this);
        server->listen(QHostAddress(QStringLiteral("127.0.0.%1").arg(host + 1)));
        connect(server, &QTcpServer::newConnection, this, [this, server] {
            while (QTcpSocket* socket = server->nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QObject::destroyed, this, [this, socket] { m_open.remove(socket); });
            }
        });
    }
    return QStringLiteral("http://127.0.0.%1:%2").arg(host + 1).arg(server->serverPort()) + QString::fromLatin1(path);
}

void LoopbackServer::redirect(const QByteArray& from, const QByteArray& to)
{
    serve(from, {302, {}, {{"Location", url(to).toLatin1()}}});
}

void LoopbackServer::read(QTcpSocket* socket)
{
    const qsizetype end = socket->peek(64 * 1024).indexOf("\r\n\r\n");
    if (end < 0) {
        return; // the rest of the request is still on its way
    }
    const QList<QByteArray> lines = socket->readAll().left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    Request request{first.value(0), first.value(1), {}};
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0) {
            request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
        }
    }
    requests.append(request);
    const QString host = socket->localAddress().toString();
    m_open.insert(socket, host);
    maxInFlight = std::max(maxInFlight, inFlight());
    maxInFlightOnOneHost = std::max(maxInFlightOnOneHost, int(std::count(m_open.begin(), m_open.end(), host)));
    if (onRequest) {
        onRequest(request);
    }
    const Response response = m_responses.value(request.path, Response{404, "introuvable", {}});
    if (response.silent) {
        return;
    }
    const bool head = request.method == "HEAD";
    const int status = head && response.headStatus != 0 ? response.headStatus : response.status;
    const QByteArray reason = status == 200 ? "OK" : status == 302 ? "Found" : status == 404 ? "Not Found" : "Status";
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nConnection: close\r\n";
    for (const auto& [name, value] : response.headers) {
        reply += name + ": " + value + "\r\n";
    }
    if (response.announceLength) {
        const qint64 length = std::max(qint64(response.body.size()), response.padTo);
        reply += "Content-Length: " + QByteArray::number(length) + "\r\n";
    }
    reply += "\r\n" + (head ? QByteArray() : response.body);
    socket->write(reply);
    // Zero bytes refilled as the client reads, so that a client that stops reading stops the server too; or
    // trickled. Then the connection closes.
    constexpr qint64 padChunk = 64 * 1024;
    const qint64 chunk = response.trickleMs > 0 ? 1 : padChunk;
    auto* timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket,
            [this, socket, chunk, left = head ? 0 : response.padTo - response.body.size()]() mutable {
                if (left > 0 && socket->bytesToWrite() < padChunk) {
                    const qint64 bytes = std::min(left, chunk);
                    left -= bytes;
                    socket->write(QByteArray(bytes, '\0'));
                }
                if (left <= 0 && m_open.remove(socket)) {
                    socket->disconnectFromHost();
                }
            });
    timer->start(response.trickleMs);
}
