#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

/// A small HTTP/1.1 server on 127.0.0.1 for download tests. Each path serves a scripted response and closes the
/// connection; an unknown path gets 404. Every request is recorded; HEAD gets the headers alone. `hostUrl` reaches
/// the same paths through other loopback addresses (127.0.0.2 …), which a client sees as other hosts; the server
/// counts the requests it holds open.
class LoopbackServer : public QObject {
    Q_OBJECT

public:
    struct Response {
        int status = 200;
        QByteArray body{};
        QList<std::pair<QByteArray, QByteArray>> headers{};
        bool announceLength = true; ///< send Content-Length; else the end of the body is the connection's close
        bool silent = false;        ///< never answer, keep the connection open
        int headStatus = 0;         ///< the status of a HEAD request, when it differs (405: HEAD refused)
        qint64 padTo = 0;           ///< after the body, zero bytes up to this length, as fast as the client reads
        int trickleMs = 0;          ///< or those zero bytes one at a time, this long apart
    };
    struct Request {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; ///< names in lower case
    };

    LoopbackServer() { hostUrl(0, {}); }

    /// "http://127.0.0.1:<port>" followed by `path`.
    QString url(const QByteArray& path) const;
    void serve(const QByteArray& path, Response response) { m_responses.insert(path, std::move(response)); }
    void serveBody(const QByteArray& path, const QByteArray& body) { serve(path, Response{200, body, {}}); }
    void redirect(const QByteArray& from, const QByteArray& to);
    /// "http://127.0.0.<host + 1>:<port>" followed by `path`: host 0 is `url`'s, others listen on demand.
    QString hostUrl(int host, const QByteArray& path);

    QList<Request> requests;
    /// Requests received and not yet wholly answered (nor closed by the client): now, and at most overall and on
    /// one loopback address.
    int inFlight() const { return int(m_open.size()); }
    int maxInFlight = 0;
    int maxInFlightOnOneHost = 0;
    /// Called with each request before it is answered.
    std::function<void(const Request&)> onRequest;

private:
    void read(QTcpSocket* socket);

    QHash<int, QTcpServer*> m_hosts;    ///< by loopback address: 0 is 127.0.0.1
    QHash<QTcpSocket*, QString> m_open; ///< the loopback address of each request in flight
    QHash<QByteArray, Response> m_responses;
};
