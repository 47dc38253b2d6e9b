#pragma once

#include "QLXQuizletSet.h"
#include "QuizletClient.h"

#include <QObject>

#include <optional>

namespace lexi {

// The set the learner chose among the search results, and its details (the set with all its
// terms) asked of the service. Choosing another set cancels the request for the one before, so
// a reply for an earlier choice never stands in for the chosen set.
//
// Used on the main thread; `client` must outlive the selection.
class QuizletSetSelection : public QObject
{
    Q_OBJECT

public:
    explicit QuizletSetSelection(QuizletClient &client, QObject *parent = nullptr);

    // `set`, as the search reply described it, becomes the selected set, and its details are
    // asked for.
    void select(const QLXQuizletSet &set);
    // No set is selected; a request under way is dropped.
    void clear();

    const std::optional<QLXQuizletSet> &selectedSet() const { return m_selectedSet; }
    // The selected set is the one the details reply gave (the placeholder set when the reply
    // could not be read).
    bool hasDetails() const { return m_hasDetails; }

signals:
    // The selected set was replaced by its details.
    void detailsArrived();

private:
    QuizletClient &m_client;
    QuizletClient::PendingRequest m_pending;
    std::optional<QLXQuizletSet> m_selectedSet;
    bool m_hasDetails = false;
};

} // namespace lexi
