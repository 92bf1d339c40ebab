#include "support/LoopbackServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 410:
        return "Gone";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

constexpr qint64 padChunk = 64 * 1024;

} // namespace

LoopbackServer::LoopbackServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(&m_server); });
}

QString LoopbackServer::url(const QByteArray& path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()) + QString::fromLatin1(path);
}

QString LoopbackServer::hostUrl(int host, const QByteArray& path)
{
    if (host == 0) {
        return url(path);
    }
    QTcpServer*& server = m_hosts[host];
    if (!server) {
        server = new QTcpServer(this);
        server->listen(QHostAddress(QStringLiteral("127.0.0.%1").arg(host + 1)));
        connect(server, &QTcpServer::newConnection, this, [this, server] { accept(server); });
    }
    return QStringLiteral("http://127.0.0.%1:%2").arg(host + 1).arg(server->serverPort()) + QString::fromLatin1(path);
}

void LoopbackServer::serve(const QByteArray& path, Response response)
{
    m_responses.insert(path, std::move(response));
}

void LoopbackServer::redirect(const QByteArray& from, const QByteArray& to)
{
    serve(from, Response{302, {}, {{"Location", url(to).toLatin1()}}});
}

void LoopbackServer::accept(QTcpServer* server)
{
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            countOut(socket);
            socket->deleteLater();
        });
    }
}

void LoopbackServer::countIn(QTcpSocket* socket)
{
    const QString host = socket->localAddress().toString();
    m_counted.insert(socket, host);
    maxInFlight = std::max(maxInFlight, ++inFlight);
    int& onHost = m_inFlightByHost[host];
    maxInFlightByHost[host] = std::max(maxInFlightByHost.value(host), ++onHost);
}

void LoopbackServer::countOut(QTcpSocket* socket)
{
    const auto counted = m_counted.constFind(socket);
    if (counted != m_counted.cend()) {
        --inFlight;
        --m_inFlightByHost[*counted];
        m_counted.erase(counted);
    }
}

void LoopbackServer::read(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        return;
    }
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    buffer.clear();
    Request request;
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.path = first.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines.at(i).indexOf(':');
        if (colon > 0) {
            request.headers.insert(lines.at(i).left(colon).trimmed().toLower(), lines.at(i).mid(colon + 1).trimmed());
        }
    }
    requests.append(request);
    countIn(socket);
    if (onRequest) {
        onRequest(request);
    }

    const Response response = m_responses.value(request.path, Response{404, "introuvable", {}});
    if (response.silent) {
        return;
    }
    if (response.delayMs > 0) {
        QTimer::singleShot(response.delayMs, socket,
                           [this, socket, request, response] { answer(socket, request, response); });
        return;
    }
    answer(socket, request, response);
}

void LoopbackServer::answer(QTcpSocket* socket, const Request& request, const Response& response)
{
    const bool head = request.method == "HEAD";
    int status = head && response.headStatus != 0 ? response.headStatus : response.status;
    QByteArray body = response.body;
    QList<std::pair<QByteArray, QByteArray>> headers = response.headers;
    // The first bytes of a plain body, as a check of an image asks for them.
    const QByteArray range = request.headers.value("range");
    if (status == 200 && !body.isEmpty() && response.padTo == 0 && response.trickleMs == 0 &&
        range.startsWith("bytes=0-")) {
        status = 206;
        body.truncate(range.mid(8).toLongLong() + 1);
        headers.append({"Content-Range", "bytes 0-" + QByteArray::number(body.size() - 1) + '/' +
                                             QByteArray::number(response.body.size())});
    }
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status);
    reply += "\r\nConnection: close\r\n";
    for (const auto& [name, value] : headers) {
        reply += name + ": " + value + "\r\n";
    }
    if (response.announceLength) {
        reply += "Content-Length: " + QByteArray::number(std::max(qint64(body.size()), response.padTo)) + "\r\n";
    }
    reply += "\r\n";
    if (!head) {
        reply += body;
    }

    if (response.trickleMs > 0) {
        auto* timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [this, socket, timer, reply, sent = qsizetype(0)]() mutable {
            send(socket, reply.mid(sent++, 1));
            if (sent == reply.size()) {
                timer->stop();
                countOut(socket);
                socket->disconnectFromHost();
            }
        });
        timer->start(response.trickleMs);
        return;
    }
    send(socket, reply);
    qint64 padding = head ? 0 : response.padTo - body.size();
    if (padding > 0) {
        // Refilled as the client reads, so that a client that stops reading stops the server too.
        connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket, padding]() mutable {
            if (padding > 0 && socket->bytesToWrite() < padChunk) {
                const qint64 chunk = std::min(padding, padChunk);
                padding -= chunk;
                send(socket, QByteArray(chunk, '\0'));
                if (padding == 0) {
                    countOut(socket);
                    socket->disconnectFromHost();
                }
            }
        });
        return;
    }
    countOut(socket);
    socket->disconnectFromHost();
}

void LoopbackServer::send(QTcpSocket* socket, const QByteArray& bytes)
{
    bytesSent += bytes.size();
    socket->write(bytes);
}
