#include "image/ImageDownload.h"

#include "catalogue/EntryAddress.h"
#include "image/ImageTexts.h"
#include "ui/UiTexts.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

bool isWeb(const QUrl& url)
{
    return url.isValid() && EntryAddress::webUrl(url.toString()).isValid();
}

} // namespace

ImageDownload::ImageDownload(QNetworkAccessManager& network, QObject* parent)
    : QObject(parent)
    , m_network(network)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_stopReason = ImageTexts::downloadTimeout().arg(UiTexts::seconds(m_timeoutMs));
        if (m_reply) {
            m_reply->abort();
        }
    });
}

ImageDownload::~ImageDownload()
{
    abort();
}

void ImageDownload::start(const QUrl& url, const QString& referer, const QString& path, int timeoutMs, qint64 maxBytes)
{
    m_timeoutMs = timeoutMs;
    m_maxBytes = maxBytes;
    m_stopReason.clear();
    m_file.setFileName(path);
    if (!isWeb(url)) {
        failLater(ImageTexts::notWebDownload().arg(url.toString()));
        return;
    }
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failLater(ImageTexts::fileWriteFailed().arg(path, m_file.errorString()));
        return;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    const QUrl refererUrl = EntryAddress::webUrl(referer);
    if (refererUrl.isValid()) {
        request.setRawHeader("Referer", refererUrl.toEncoded());
    }
    m_reply = m_network.get(request);
    // The network thread reads no further ahead than this, so an endless body is cut near the limit.
    m_reply->setReadBufferSize(64 * 1024);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &ImageDownload::checkAnnouncedSize);
    connect(m_reply, &QNetworkReply::readyRead, this, &ImageDownload::receive);
    connect(m_reply, &QNetworkReply::finished, this, &ImageDownload::complete);
    m_timer.start(timeoutMs);
}

void ImageDownload::abort()
{
    m_timer.stop();
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    if (m_file.isOpen()) {
        m_file.close();
        m_file.remove();
    }
}

void ImageDownload::checkAnnouncedSize()
{
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_maxBytes) {
        m_stopReason = ImageTexts::tooLarge().arg(m_maxBytes);
        m_reply->abort();
    }
}

void ImageDownload::receive()
{
    if (m_reply && m_stopReason.isEmpty() && !store(m_reply->readAll())) {
        m_reply->abort();
    }
}

bool ImageDownload::store(const QByteArray& data)
{
    if (m_file.size() + data.size() > m_maxBytes) {
        m_stopReason = ImageTexts::tooLarge().arg(m_maxBytes);
        return false;
    }
    if (m_file.write(data) != data.size()) {
        m_stopReason = ImageTexts::fileWriteFailed().arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    return true;
}

void ImageDownload::complete()
{
    m_timer.stop();
    QNetworkReply* reply = m_reply;
    if (!reply) {
        return;
    }
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->deleteLater();
    if (m_stopReason.isEmpty()) {
        store(reply->readAll());
    }

    if (!m_stopReason.isEmpty()) {
        fail(m_stopReason);
        return;
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400) {
        fail(ImageTexts::httpError()
                 .arg(status.toInt())
                 .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        fail(ImageTexts::downloadFailed().arg(reply->errorString()));
        return;
    }
    if (!isWeb(reply->url())) {
        fail(ImageTexts::notWebDownload().arg(reply->url().toString()));
        return;
    }
    if (!m_file.flush()) {
        fail(ImageTexts::fileWriteFailed().arg(m_file.fileName(), m_file.errorString()));
        return;
    }
    m_file.close();
    emit finished({});
}

void ImageDownload::fail(const QString& error)
{
    m_file.close();
    m_file.remove();
    emit finished(error);
}

void ImageDownload::failLater(const QString& error)
{
    QMetaObject::invokeMethod(
        this, [this, error] { fail(error); }, Qt::QueuedConnection);
}
