#include "QLXQuizletSearchResults.h"

#include "QuizletJson.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Wide enough for the product and sum of any two 64-bit numbers.
using Wide = __int128;

qint64 clamped(Wide value)
{
    return qint64(std::clamp<Wide>(value, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()));
}

} // namespace

QLXQuizletSearchResults QLXQuizletSearchResults::quizletSearchResultsWithJsonData(const std::optional<QByteArray> &data)
{
    QLXQuizletSearchResults results;
    const QJsonObject reply = lexi::quizlet::decodeReply(data).value_or(QJsonDocument()).object();
    results.m_totalCount = lexi::quizlet::integerValue(reply.value("total_results"_L1));
    results.m_totalPages = lexi::quizlet::integerValue(reply.value("total_pages"_L1));
    results.m_page = lexi::quizlet::integerValue(reply.value("page"_L1));
    for (const QJsonValue set : reply.value("sets"_L1).toArray()) {
        if (set.isObject())
            results.m_sets.append(QLXQuizletSet::quizletSetWithDictionary(set.toObject()));
    }
    return results;
}

qint64 QLXQuizletSearchResults::indexOfFirstSetInPage() const
{
    return clamped(Wide(m_pageSize) * (Wide(m_page) - 1) + 1);
}

qint64 QLXQuizletSearchResults::indexOfLastSetInPage() const
{
    return clamped(Wide(indexOfFirstSetInPage()) + m_sets.size() - 1);
}
