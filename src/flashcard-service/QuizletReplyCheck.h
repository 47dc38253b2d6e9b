#pragma once

#include <QByteArray>

#include <optional>

// The check every completion of a flash-card service request makes before it reads the reply:
// a missing reply, or bytes that are not JSON, leave a line in the log or on the console.
namespace lexi::quizlet {

// A warning through the logging dispatcher.
void checkSearchReply(const std::optional<QByteArray> &reply);
// A console line.
void checkPageReply(const std::optional<QByteArray> &reply);
// A console line that quotes the reply's bytes.
void checkSetDetailsReply(const std::optional<QByteArray> &reply);

} // namespace lexi::quizlet
