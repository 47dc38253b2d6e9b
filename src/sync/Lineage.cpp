#include "Lineage.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lexi {

QString VersionMark::text() const
{
    return run + u':' + QString::number(step);
}

std::optional<VersionMark> VersionMark::fromText(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon < 1)
        return std::nullopt;
    bool isNumber = false;
    const qint64 step = text.mid(colon + 1).toLongLong(&isNumber);
    if (!isNumber || step < 1)
        return std::nullopt;
    return VersionMark{text.left(colon), step};
}

Lineage::Lineage(const QStringList &stored)
{
    for (const QString &text : stored) {
        const std::optional<VersionMark> mark = VersionMark::fromText(text);
        if (!mark)
            continue;
        const auto same = std::find_if(m_marks.begin(), m_marks.end(),
                                       [&](const VersionMark &listed) { return listed.run == mark->run; });
        if (same == m_marks.end())
            m_marks.append(*mark);
        else
            same->step = std::max(same->step, mark->step);
    }
}

std::optional<VersionMark> Lineage::head() const
{
    if (m_marks.isEmpty())
        return std::nullopt;
    return m_marks.first();
}

bool Lineage::holds(const VersionMark &mark) const
{
    return std::any_of(m_marks.begin(), m_marks.end(),
                       [&](const VersionMark &listed) { return listed.run == mark.run && listed.step >= mark.step; });
}

Lineage Lineage::ofNewVersion(const VersionMark &mark, const QList<Lineage> &madeFrom)
{
    QStringList stored = {mark.text()};
    for (const Lineage &lineage : madeFrom) {
        for (const VersionMark &listed : lineage.m_marks) {
            // The new step stands for the earlier ones of its run.
            if (listed.run != mark.run)
                stored.append(listed.text());
        }
    }
    Lineage lineage(stored);
    if (lineage.m_marks.size() > maximumRuns)
        lineage.m_marks.resize(maximumRuns);
    return lineage;
}

QStringList Lineage::stored() const
{
    QStringList stored;
    stored.reserve(m_marks.size());
    for (const VersionMark &mark : m_marks)
        stored.append(mark.text());
    return stored;
}

} // namespace lexi
