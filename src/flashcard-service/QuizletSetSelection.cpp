#include "QuizletSetSelection.h"

#include "QuizletReplyCheck.h"
#include "QuizletRequests.h"

namespace lexi {

QuizletSetSelection::QuizletSetSelection(QuizletClient &client, QObject *parent) : QObject(parent), m_client(client)
{
}

void QuizletSetSelection::select(const QLXQuizletSet &set)
{
    m_selectedSet = set;
    m_hasDetails = false;
    m_pending = m_client.send(quizlet::setDetailsRequest(set.identifier()), [this](const std::optional<QByteArray> &reply) {
        quizlet::checkSetDetailsReply(reply);
        m_selectedSet = QLXQuizletSet::quizletSetWithJsonData(reply);
        m_hasDetails = true;
        emit detailsArrived();
    });
}

void QuizletSetSelection::clear()
{
    m_pending.cancel();
    m_selectedSet.reset();
    m_hasDetails = false;
}

} // namespace lexi
