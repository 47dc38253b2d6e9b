#pragma once

#include "platform/network/BoundedRequest.h"

#include <QByteArray>
#include <QNetworkRequest>

namespace lexi {

// Posts `body` and waits for the answer, at most within `limits`. Works on any thread, also one
// without a Qt event loop of its own (such as a serial queue's): it runs its own network access
// manager and a local event loop there.
BoundedReply postSynchronously(const QNetworkRequest &request, const QByteArray &body, const RequestLimits &limits);

} // namespace lexi
