#pragma once

#include "platform/dispatch/SerialQueue.h"
#include "platform/values/Date.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// The persistent queue of analytics events: one SQLite database file holding a row per event
// until an upload has delivered it or it ages out, so that events survive restarts and times
// without a network. It also writes dates as the ISO-8601 text that events carry.
//
// The connection is used on the store's own serial queue only, for the store's whole life:
// opening, reopening after a failure and every statement run there. Operations that return
// something wait for the queue; the others are queued and keep their order relative to every
// later operation. Every failure of SQLite is written to the console as "Failed to <what>:
// <SQLite's message>" and closes the database; the next operation reopens it. While it cannot be
// opened, operations return nothing, 0, false or an empty result.
class ANEventStore
{
public:
    // Collection name to (event id to the event's JSON).
    using EventsByCollection = QMap<QString, QMap<quint64, QByteArray>>;

    // Opens (creating it when missing) the database at `databasePath`. The store exists even
    // when that fails.
    explicit ANEventStore(QString databasePath);
    ~ANEventStore();

    ANEventStore(const ANEventStore &) = delete;
    ANEventStore &operator=(const ANEventStore &) = delete;

    // The project whose events the store writes, reads and counts.
    QString projectId() const;
    void setProjectId(const QString &projectId);

    // Stores the event's JSON, unchanged, for the collection (waits).
    bool addEvent(const QByteArray &eventData, const QString &collection);

    // The project's events sent fewer than `maxAttempts` times, now marked pending (waits).
    // Pending marks left by an earlier upload are cleared first, so its events come again.
    EventsByCollection getEventsWithMaxAttempts(int maxAttempts);
    void resetPendingEvents();
    bool hasPendingEvents();
    quint64 getPendingEventCount();
    // Every event of the project, pending or not.
    quint64 getTotalEventCount();

    // Each of these is queued and changes the given events in one transaction.
    void incrementAttempts(const QList<quint64> &eventIds);
    void deleteEvents(const QList<quint64> &eventIds);

    // Queued. Deletes every event of every project.
    void deleteAllEvents();
    // Queued. Keeps the `offset` newest events of the whole table (all projects) and deletes
    // the older ones.
    void deleteEventsFromOffset(quint64 offset);
    // Queued. Deletes the project's pending events.
    void purgePendingEvents();

    // The date as local time with the local zone's offset, for example
    // "2015-03-01T14:05:09+01:00"; nothing when the database cannot be used or the date is not
    // a real one (waits).
    std::optional<QString> convertNSDateToISO8601(lexi::Date date);

    // The local zone's offset from UTC at `date` as "+HH:MM" or "-HH:MM", whole minutes.
    static QString offsetText(lexi::Date date);

private:
    enum Statement {
        insertStatement,
        findStatement,
        countAllStatement,
        countPendingStatement,
        makePendingStatement,
        resetPendingStatement,
        purgeStatement,
        deleteStatement,
        deleteAllStatement,
        ageOutStatement,
        incrementAttemptsStatement,
        convertDateStatement,
        statementCount,
    };

    struct FinalizeStatement
    {
        void operator()(sqlite3_stmt *statement) const;
    };
    struct CloseConnection
    {
        void operator()(sqlite3 *database) const;
    };
    using PreparedStatement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

    // All of these run on the queue.
    bool openAndInitDB();
    bool openDB();
    bool createTable();
    bool migrateTable();
    int queryUserVersion();
    bool setUserVersion(int version);
    bool migrateFromVersion(int version);
    int runMigration(int version);
    bool beginTransaction();
    bool commitTransaction();
    bool rollbackTransaction();
    bool prepareAllSQLiteStatements();
    bool checkOpenDB(QStringView notice);
    void handleSQLiteFailure(QStringView description);
    void closeDB();

    sqlite3_stmt *statement(Statement which) const;
    void resetSQLiteStatement(Statement which);
    // Each reports a failure (which closes the database) and returns false.
    bool bindProjectId(Statement which, int index, QStringView failure);
    bool bindText(Statement which, int index, const QByteArray &text, QStringView failure);
    bool bindInteger(Statement which, int index, qint64 value, QStringView failure);
    bool stepDone(Statement which, QStringView failure);
    std::optional<quint64> count(Statement which, QStringView bindFailure, QStringView stepFailure);
    // Runs `which` with the project bound as parameter 1.
    void runForProject(Statement which, QStringView bindFailure, QStringView stepFailure);
    // Runs `which` once per id (bound as parameter 1) inside one transaction.
    void runForEachId(Statement which, const QList<quint64> &eventIds, QStringView bindFailure,
                      QStringView stepFailure);
    bool inTransaction(QStringView what, const std::function<bool()> &work);
    void resetPendingEventsNow();
    bool hasPendingEventsNow();

    const QString m_databasePath;
    std::unique_ptr<sqlite3, CloseConnection> m_database;
    std::array<PreparedStatement, statementCount> m_statements;
    bool m_dbIsOpen = false;
    QString m_projectId;
    // Last, so that it finishes its work before anything it uses goes away.
    mutable lexi::dispatch::SerialQueue m_dbQueue;
};
