#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

/// A small HTTP/1.1 server on 127.0.0.1 for download tests. Each path serves a scripted response and closes the
/// connection; an unknown path gets 404. Every request is recorded.
class LoopbackServer : public QObject {
    Q_OBJECT

public:
    struct Response {
        int status = 200;
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers;
        bool announceLength = true; ///< send Content-Length; else the end of the body is the connection's close
        bool silent = false;        ///< never answer, keep the connection open
    };
    struct Request {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; ///< names in lower case
    };

    LoopbackServer();

    /// "http://127.0.0.1:<port>" followed by `path`.
    QString url(const QByteArray& path) const;
    void serve(const QByteArray& path, Response response);
    void serveBody(const QByteArray& path, const QByteArray& body) { serve(path, Response{200, body, {}}); }
    void redirect(const QByteArray& from, const QByteArray& to);

    QList<Request> requests;
    /// Called with each request before it is answered.
    std::function<void(const Request&)> onRequest;

private:
    void accept();
    void read(QTcpSocket* socket);

    QTcpServer m_server;
    QHash<QByteArray, Response> m_responses;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
