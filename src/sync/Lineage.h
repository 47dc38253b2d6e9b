#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lexi {

// The mark a synchronisation gives each version of a vocabulary file that it makes for the cloud:
// the run of versions it belongs to, a token drawn at random when the run starts, and its step in
// that run, counted from 1. Stored as "token:step".
struct VersionMark
{
    QString run;
    qint64 step = 0;

    QString text() const;
    // Nothing for a text that is no mark.
    static std::optional<VersionMark> fromText(const QString &text);

    friend bool operator==(const VersionMark &, const VersionMark &) = default;
};

// Where a version of a vocabulary file comes from: for each run of versions it was made from, the
// latest step it holds, the latest run first, at most maximumRuns of them (an older run is
// forgotten). A version made by the synchronisation lists its own mark first.
//
// A run goes on only with versions made from one that holds its last step, so a version that
// holds a step of a run holds every earlier step of it too; and as a version lists only what the
// versions it was made from list, a version holds another exactly when it was made from it, at
// some remove. A version made beside another one, without it, never lists that one's mark: the
// token is drawn at random, and a run goes on only where its last step is held.
class Lineage
{
public:
    static constexpr qsizetype maximumRuns = 64;

    Lineage() = default;
    // As stored (Lexicarta::lineage()); what is no mark is passed over.
    explicit Lineage(const QStringList &stored);

    // The mark listed first: of the version itself when the synchronisation made it, else of the
    // latest version it was made from. Nothing for a version no synchronisation had a hand in.
    std::optional<VersionMark> head() const;
    // Whether this version is the one marked `mark` or was made from it.
    bool holds(const VersionMark &mark) const;
    // The lineage of the version marked `mark`, made from versions with the lineages `madeFrom`.
    static Lineage ofNewVersion(const VersionMark &mark, const QList<Lineage> &madeFrom);

    QStringList stored() const;

private:
    QList<VersionMark> m_marks;
};

} // namespace lexi
