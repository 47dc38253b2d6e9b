#include "BoundedRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

QNetworkRequest::RedirectPolicy qtPolicy(RedirectPolicy policy)
{
    switch (policy) {
    case RedirectPolicy::anyHost:
        return QNetworkRequest::NoLessSafeRedirectPolicy;
    case RedirectPolicy::sameHost:
        return QNetworkRequest::SameOriginRedirectPolicy;
    case RedirectPolicy::none:
        break;
    }
    return QNetworkRequest::ManualRedirectPolicy;
}

QNetworkRequest limited(QNetworkRequest request, const RequestLimits &limits)
{
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, qtPolicy(limits.redirects));
    return request;
}

BoundedReply replyOf(QNetworkReply &reply, const std::optional<QString> &cutOff, qint64 largestReply)
{
    BoundedReply result;
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = reply.error();
    if (status.isValid())
        result.statusCode = status.toInt();
    // Errors of the connection (below the content errors, a refused redirect among them) and a
    // broken answer mean that no whole answer came, also when its status arrived before the body
    // was cut short.
    const bool isWholeAnswer = status.isValid() && !cutOff
        && (error == QNetworkReply::NoError
            || (error >= QNetworkReply::ContentAccessDenied && error != QNetworkReply::ProtocolFailure));
    if (isWholeAnswer) {
        QByteArray body = reply.read(largestReply + 1);
        if (body.size() <= largestReply)
            result.body = std::move(body);
        else
            result.errorText = u"The answer is larger than %1 bytes."_s.arg(largestReply);
    }
    if (cutOff)
        result.errorText = *cutOff;
    else if (error != QNetworkReply::NoError && result.errorText.isEmpty())
        result.errorText = reply.errorString();
    return result;
}

// Cuts the reply off at the deadline and at the size limit, and hands over what came.
void watch(QNetworkReply *reply, const RequestLimits &limits, QObject &owner, BoundedCompletion finished)
{
    reply->setParent(&owner);
    auto cutOff = std::make_shared<std::optional<QString>>();
    const auto cut = [reply, cutOff](const QString &reason) {
        if (*cutOff)
            return;
        *cutOff = reason;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [cut, largest = limits.largestReply](qint64 received, qint64 total) {
                         if (received > largest || total > largest)
                             cut(u"The answer is larger than %1 bytes."_s.arg(largest));
                     });
    // A server that trickles its answer never falls silent; the whole exchange has a deadline.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply,
                     [cut, limit = limits.deadline] { cut(u"No whole answer within %1 ms."_s.arg(limit.count())); });
    deadline->start(limits.deadline);
    QObject::connect(reply, &QNetworkReply::finished, reply,
                     [reply, cutOff, largest = limits.largestReply, finished = std::move(finished)] {
                         reply->deleteLater();
                         finished(replyOf(*reply, *cutOff, largest));
                     });
}

} // namespace

void getBounded(QNetworkAccessManager &network, QNetworkRequest request, const RequestLimits &limits, QObject &owner,
                BoundedCompletion finished)
{
    watch(network.get(limited(std::move(request), limits)), limits, owner, std::move(finished));
}

void postBounded(QNetworkAccessManager &network, QNetworkRequest request, const QByteArray &body,
                 const RequestLimits &limits, QObject &owner, BoundedCompletion finished)
{
    watch(network.post(limited(std::move(request), limits), body), limits, owner, std::move(finished));
}

} // namespace lexi
