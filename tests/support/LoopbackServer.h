#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

/// A small HTTP/1.1 server on 127.0.0.1 for download tests. Each path serves a scripted response and closes the
/// connection; an unknown path gets 404. Every request is recorded. HEAD gets the headers alone, and
/// "Range: bytes=0-N" of a plain body gets 206 with those bytes. `hostUrl` reaches the same paths through other
/// loopback addresses (127.0.0.2 …), which a client sees as other hosts; the server counts the requests it holds
/// open.
class LoopbackServer : public QObject {
    Q_OBJECT

public:
    struct Response {
        int status = 200;
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers;
        bool announceLength = true; ///< send Content-Length; else the end of the body is the connection's close
        bool silent = false;        ///< never answer, keep the connection open
        int headStatus = 0;         ///< the status of a HEAD request, when it differs (405: HEAD refused)
        int delayMs = 0;            ///< answer this long after the request
        int trickleMs = 0;          ///< send the answer one byte at a time, this long apart
        qint64 padTo = 0;           ///< after the body, zero bytes up to this length, as fast as the client reads
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
    /// "http://127.0.0.<host + 1>:<port>" followed by `path`: host 0 is `url`'s, others listen on demand.
    QString hostUrl(int host, const QByteArray& path);

    QList<Request> requests;
    /// Requests received and not yet wholly answered (nor closed by the client), now and at most, overall and by
    /// loopback address.
    int inFlight = 0;
    int maxInFlight = 0;
    QHash<QString, int> maxInFlightByHost;
    qint64 bytesSent = 0;
    /// Called with each request before it is answered.
    std::function<void(const Request&)> onRequest;

private:
    void accept(QTcpServer* server);
    void read(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Request& request, const Response& response);
    void send(QTcpSocket* socket, const QByteArray& bytes);
    void countIn(QTcpSocket* socket);
    void countOut(QTcpSocket* socket);

    QTcpServer m_server;
    QHash<int, QTcpServer*> m_hosts;
    QHash<QString, int> m_inFlightByHost;
    QHash<QTcpSocket*, QString> m_counted;
    QHash<QByteArray, Response> m_responses;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
