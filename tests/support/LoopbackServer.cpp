#include "support/LoopbackServer.h"

#include <QTcpSocket>

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
    default:
        return "Status";
    }
}

} // namespace

LoopbackServer::LoopbackServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::accept);
}

QString LoopbackServer::url(const QByteArray& path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()) + QString::fromLatin1(path);
}

void LoopbackServer::serve(const QByteArray& path, Response response)
{
    m_responses.insert(path, std::move(response));
}

void LoopbackServer::redirect(const QByteArray& from, const QByteArray& to)
{
    serve(from, Response{302, {}, {{"Location", url(to).toLatin1()}}});
}

void LoopbackServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
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
    if (onRequest) {
        onRequest(request);
    }

    const Response response = m_responses.value(request.path, Response{404, "introuvable", {}});
    if (response.silent) {
        return;
    }
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status);
    reply += "\r\nConnection: close\r\n";
    for (const auto& [name, value] : response.headers) {
        reply += name + ": " + value + "\r\n";
    }
    if (response.announceLength) {
        reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    }
    reply += "\r\n" + response.body;
    socket->write(reply);
    socket->disconnectFromHost();
}
