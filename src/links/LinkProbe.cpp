#include "links/LinkProbe.h"

#include "catalogue/EntryAddress.h"
#include "links/LinksTexts.h"
#include "ui/UiTexts.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

// What a check reads of an image: enough for every signature.
constexpr qint64 firstBytes = 32;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

LinkProbe::LinkProbe(QNetworkAccessManager& network, Limits limits, QObject* parent)
    : QObject(parent)
    , m_network(network)
    , m_limits(std::move(limits))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_outcome.failure = LinksTexts::timeout().arg(UiTexts::seconds(m_limits.timeoutMs));
        dropReply();
        conclude();
    });
}

LinkProbe::~LinkProbe()
{
    abort();
}

void LinkProbe::start(const LinkTarget& target, LinkMode mode)
{
    m_outcome = {};
    m_body.clear();
    m_redirects = 0;
    m_done = false;
    m_outcome.requested = EntryAddress::webUrl(target.address);
    m_outcome.final = m_outcome.requested;
    m_outcome.needsImage = target.field == LinkField::Image;
    m_referer = m_outcome.needsImage ? EntryAddress::webUrl(target.referer) : QUrl();
    m_method = mode == LinkMode::Archive ? Method::Whole : m_outcome.needsImage ? Method::FirstBytes : Method::Head;
    if (!m_outcome.requested.isValid()) {
        m_outcome.failure = LinksTexts::malformed();
        QMetaObject::invokeMethod(this, &LinkProbe::conclude, Qt::QueuedConnection);
        return;
    }
    m_timer.start(m_limits.timeoutMs);
    send();
}

void LinkProbe::abort()
{
    m_done = true;
    m_timer.stop();
    dropReply();
}

void LinkProbe::send()
{
    QNetworkRequest request(m_outcome.final);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (m_referer.isValid()) {
        request.setRawHeader("Referer", m_referer.toEncoded());
    }
    if (m_method == Method::FirstBytes) {
        // A server that ignores the range and sends everything is cut off after these bytes.
        request.setRawHeader("Range", "bytes=0-" + QByteArray::number(firstBytes - 1));
    }
    m_answered = false;
    m_reply = m_method == Method::Head ? m_network.head(request) : m_network.get(request);
    // Bounded, so that the network thread reads no further ahead than this, whatever the server sends: a body
    // without a length is then cut at the limit, not after all that arrived before its first bytes were seen.
    m_reply->setReadBufferSize(m_method == Method::Whole ? 64 * 1024 : 4096);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &LinkProbe::answered);
    connect(m_reply, &QNetworkReply::readyRead, this, &LinkProbe::receive);
    connect(m_reply, &QNetworkReply::finished, this, &LinkProbe::ended);
}

void LinkProbe::answered()
{
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (m_answered || !status.isValid()) {
        return;
    }
    m_answered = true;
    m_outcome.status = status.toInt();
    m_outcome.contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toString();

    const QUrl location = m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (isRedirect(m_outcome.status) && !location.isEmpty()) {
        const QUrl next = m_outcome.final.resolved(location);
        const QString refusal = LinkRules::redirectRefusal(m_outcome.final, next, ++m_redirects);
        dropReply();
        m_outcome.final = next;
        if (!refusal.isEmpty()) {
            m_outcome.failure = refusal;
            conclude();
        } else {
            send();
        }
        return;
    }
    if (m_method == Method::Head && (m_outcome.status == 405 || m_outcome.status == 501)) {
        dropReply();
        m_method = Method::FirstBytes;
        send();
        return;
    }
    const bool success = m_outcome.status >= 200 && m_outcome.status < 300;
    if (!success || !m_outcome.needsImage) {
        // The status says it all: the body of an error page is not read.
        dropReply();
        conclude();
        return;
    }
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (m_method == Method::Whole && length.isValid() && length.toLongLong() > m_limits.maxBytes) {
        m_outcome.failure = LinksTexts::tooLarge().arg(m_limits.maxBytes);
        dropReply();
        conclude();
    }
}

void LinkProbe::receive()
{
    if (!m_reply || !m_answered) {
        return;
    }
    if (m_method == Method::Whole) {
        m_body += m_reply->readAll();
        if (m_body.size() > m_limits.maxBytes) {
            m_outcome.failure = LinksTexts::tooLarge().arg(m_limits.maxBytes);
            m_body.clear();
            dropReply();
            conclude();
        }
        return;
    }
    m_body += m_reply->read(firstBytes - m_body.size());
    if (m_body.size() >= firstBytes) {
        dropReply();
        conclude();
    }
}

void LinkProbe::ended()
{
    if (!m_answered) {
        // The status seen only now: a redirect followed from here goes on with a request of its own.
        const QNetworkReply* reply = m_reply;
        answered();
        if (m_reply != reply) {
            return;
        }
    }
    receive();
    if (!m_reply) {
        return; // concluded, or following a redirect
    }
    if (m_reply->error() != QNetworkReply::NoError) {
        m_outcome.failure = m_reply->errorString();
    }
    dropReply();
    conclude();
}

void LinkProbe::dropReply()
{
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        // Deleting a reply ends its request. An abort() would too, but warns when an HTTP error status that has
        // not been reported yet arrives after it.
        m_reply->deleteLater();
        m_reply = nullptr;
    }
}

void LinkProbe::conclude()
{
    if (m_done) {
        return;
    }
    m_done = true;
    m_timer.stop();
    if (m_outcome.needsImage && m_limits.isImage) {
        m_outcome.imageSignature = m_limits.isImage(m_body.left(firstBytes));
    }
    if (!m_outcome.failure.isEmpty()) {
        m_body.clear();
    }
    emit finished(m_outcome, m_body);
}
