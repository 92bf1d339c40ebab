#pragma once

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

/// One download of an image address into a file, without blocking the event loop. Redirects are followed (never
/// from https to http); the whole transfer is bounded in time and in size. Ends with exactly one `finished`.
class ImageDownload : public QObject {
    Q_OBJECT

public:
    ImageDownload(QNetworkAccessManager& network, QObject* parent = nullptr);
    ~ImageDownload() override;

    /// Starts fetching `url` into `path` (created or emptied). `referer`, when it is a web address, is sent as
    /// the Referer header: some hosts serve a forum's pictures only to its own pages.
    void start(const QUrl& url, const QString& referer, const QString& path, int timeoutMs, qint64 maxBytes);
    /// Stops a running download without a `finished` and removes the partial file.
    void abort();

signals:
    /// Empty `error` on success; else the French reason, and the file has been removed.
    void finished(const QString& error);

private:
    void receive();
    /// Appends to the file within the size bound; false, with the reason kept, when it cannot.
    bool store(const QByteArray& data);
    void checkAnnouncedSize();
    void complete();
    void fail(const QString& error);
    void failLater(const QString& error);

    QNetworkAccessManager& m_network;
    QPointer<QNetworkReply> m_reply;
    QFile m_file;
    QTimer m_timer;
    qint64 m_maxBytes = 0;
    int m_timeoutMs = 0;
    QString m_stopReason;
};
