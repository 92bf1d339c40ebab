#pragma once

#include "links/LinkRules.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

/// One address asked over the network without blocking the event loop, bounded in time and in size. A check asks
/// with HEAD, or, for an image address (whose first bytes must be seen) and for a server that refuses HEAD (405,
/// 501), with a GET of the first 32 bytes; an archive download GETs the whole image. Redirects are followed by hand
/// so that `LinkRules::redirectRefusal` decides. Ends with exactly one `finished`, unless aborted.
class LinkProbe : public QObject {
    Q_OBJECT

public:
    struct Limits {
        int timeoutMs = 10'000; ///< for the whole exchange, redirects included
        qint64 maxBytes = 0;    ///< for a whole image
        std::function<bool(const QByteArray&)> isImage;
    };

    LinkProbe(QNetworkAccessManager& network, Limits limits, QObject* parent = nullptr);
    ~LinkProbe() override;

    void start(const LinkTarget& target, LinkMode mode);
    /// Stops at once, without `finished`.
    void abort();

signals:
    /// `body` holds the first bytes of a check, or the whole image of an archive download.
    void finished(const LinkOutcome& outcome, const QByteArray& body);

private:
    enum class Method { Head, FirstBytes, Whole };

    void send();
    void answered();
    void receive();
    void ended();
    void dropReply();
    void conclude();

    QNetworkAccessManager& m_network;
    Limits m_limits;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    Method m_method = Method::Head;
    QUrl m_referer;
    LinkOutcome m_outcome;
    QByteArray m_body;
    int m_redirects = 0;
    bool m_answered = false;
    bool m_done = false;
};
