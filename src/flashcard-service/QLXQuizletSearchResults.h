#pragma once

#include "QLXQuizletSet.h"

#include <QByteArray>
#include <QList>

#include <optional>

// One page of a set search.
class QLXQuizletSearchResults
{
public:
    QLXQuizletSearchResults() = default;

    // Reads a search reply. Without bytes, or with bytes that are not a JSON object, every number
    // reads 0 and there are no sets; numbers of the wrong type read 0, and elements of "sets"
    // that are not objects are left out.
    static QLXQuizletSearchResults quizletSearchResultsWithJsonData(const std::optional<QByteArray> &data);

    // Sets found in all pages.
    qint64 totalCount() const { return m_totalCount; }
    void setTotalCount(qint64 count) { m_totalCount = count; }
    qint64 totalPages() const { return m_totalPages; }
    void setTotalPages(qint64 pages) { m_totalPages = pages; }
    // 1-based.
    qint64 page() const { return m_page; }
    void setPage(qint64 page) { m_page = page; }
    qint64 pageSize() const { return m_pageSize; }
    void setPageSize(qint64 size) { m_pageSize = size; }
    const QList<QLXQuizletSet> &sets() const { return m_sets; }
    void setSets(const QList<QLXQuizletSet> &sets) { m_sets = sets; }

    // 1-based numbers of the first and last set of this page among all found. Absurd page numbers
    // from a reply give the ends of the 64-bit range rather than overflowing.
    qint64 indexOfFirstSetInPage() const;
    qint64 indexOfLastSetInPage() const;

private:
    qint64 m_totalCount = 0;
    qint64 m_totalPages = 0;
    qint64 m_page = 0;
    qint64 m_pageSize = 0;
    QList<QLXQuizletSet> m_sets;
};
