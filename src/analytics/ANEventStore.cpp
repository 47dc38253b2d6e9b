#include "ANEventStore.h"

#include "AnalyticsLog.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

struct StatementText
{
    const char *sql;
    QStringView failure;
};

// In the order of ANEventStore::Statement, which is the order they are prepared in.
constexpr StatementText statementTexts[] = {
    {"INSERT INTO events (projectId, collection, eventData, pending, attempts) VALUES (?, ?, ?, 0, 0)",
     u"prepare insert statement"},
    {"SELECT id, collection, eventData FROM events WHERE pending=0 AND projectId=? AND attempts<?",
     u"prepare find non-pending events statement"},
    {"SELECT count(*) FROM events WHERE projectID=?", u"prepare count all events statement"},
    {"SELECT count(*) FROM events WHERE pending=1 AND projectId=?", u"prepare count pending events statement"},
    {"UPDATE events SET pending=1 WHERE id=?", u"prepare mark event as pending statement"},
    {"UPDATE events SET pending=0 WHERE projectId=?", u"prepare reset pending statement"},
    {"DELETE FROM events WHERE pending=1 AND projectId=?", u"prepare purge pending events statement"},
    {"DELETE FROM events WHERE id=?", u"prepare delete specific event statement"},
    {"DELETE FROM events", u"prepare delete all events statement"},
    {"DELETE FROM events WHERE id <= (SELECT id FROM events ORDER BY id DESC LIMIT 1 OFFSET ?)",
     u"prepare delete old events at offset statement"},
    {"UPDATE events SET attempts = attempts + 1 WHERE id=?", u"prepare increment attempt statement"},
    {"SELECT strftime('%Y-%m-%dT%H:%M:%S',datetime(?,'unixepoch','localtime'))", u"prepare convert date statement"},
};

constexpr const char *createTableText =
    "CREATE TABLE IF NOT EXISTS 'events' (ID INTEGER PRIMARY KEY AUTOINCREMENT, collection TEXT, projectId TEXT, "
    "eventData BLOB, pending INTEGER, dateCreated TIMESTAMP DEFAULT CURRENT_TIMESTAMP);";
constexpr const char *addAttemptsColumnText = "ALTER TABLE events ADD COLUMN attempts INTEGER DEFAULT 0;";

constexpr int maximumMigrationPasses = 1000;

// Runs `sql`; on failure logs SQLite's message after `prefix`, frees it and returns false.
bool execute(sqlite3 *database, const QByteArray &sql, QStringView prefix)
{
    char *message = nullptr;
    if (sqlite3_exec(database, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    lexi::AnalyticsLog::write(u"%@%@", prefix, message ? message : "");
    sqlite3_free(message);
    return false;
}

// The library is configured once per process: shutting it down again while another connection
// is open would pull its resources away from under that connection.
void configureSQLite()
{
    static std::once_flag configured;
    std::call_once(configured, [] {
        sqlite3_shutdown();
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_initialize();
    });
}

} // namespace

void ANEventStore::FinalizeStatement::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

void ANEventStore::CloseConnection::operator()(sqlite3 *database) const
{
    sqlite3_close(database);
}

ANEventStore::ANEventStore(QString databasePath)
    : m_databasePath(std::move(databasePath)), m_dbQueue("org.lexicarta.analytics.eventstore")
{
    static_assert(std::size(statementTexts) == statementCount);
    m_dbQueue.sync([this] { openAndInitDB(); });
}

ANEventStore::~ANEventStore()
{
    m_dbQueue.sync([this] { closeDB(); });
}

QString ANEventStore::projectId() const
{
    QString projectId;
    m_dbQueue.sync([&] { projectId = m_projectId; });
    return projectId;
}

void ANEventStore::setProjectId(const QString &projectId)
{
    m_dbQueue.sync([&] { m_projectId = projectId; });
}

// Opening and closing.

bool ANEventStore::openAndInitDB()
{
    if (m_dbIsOpen)
        return true;
    if (!openDB())
        return false;
    if (!createTable()) {
        lexi::AnalyticsLog::write(u"Failed to create SQLite table!");
        closeDB();
        return false;
    }
    if (!migrateTable()) {
        lexi::AnalyticsLog::write(u"Failed to migrate SQLite table!");
        closeDB();
        return false;
    }
    return prepareAllSQLiteStatements();
}

bool ANEventStore::openDB()
{
    configureSQLite();
    sqlite3 *database = nullptr;
    const int result = sqlite3_open(m_databasePath.toUtf8().constData(), &database);
    // The handle is made even when opening fails; it carries the error message until closed.
    m_database.reset(database);
    if (result != SQLITE_OK) {
        handleSQLiteFailure(u"create database");
        return false;
    }
    m_dbIsOpen = true;
    return true;
}

bool ANEventStore::createTable()
{
    if (!m_dbIsOpen) {
        lexi::AnalyticsLog::write(u"DB is closed, skipping createTable");
        return false;
    }
    if (!execute(m_database.get(), createTableText, u"Failed to create table: ")) {
        closeDB();
        return false;
    }
    return true;
}

bool ANEventStore::migrateTable()
{
    if (!m_dbIsOpen) {
        lexi::AnalyticsLog::write(u"DB is closed, skipping migrateTable");
        return false;
    }
    const int version = queryUserVersion();
    lexi::AnalyticsLog::write(u"Preparing to migrate DB, current version: %d", version);
    return migrateFromVersion(version);
}

int ANEventStore::queryUserVersion()
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(m_database.get(), "PRAGMA user_version;", -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return -1;
    }
    const PreparedStatement pragma(raw);
    int version = 0;
    while (sqlite3_step(pragma.get()) == SQLITE_ROW)
        version = sqlite3_column_int(pragma.get(), 0);
    return version < 1 ? 0 : version;
}

bool ANEventStore::setUserVersion(int version)
{
    return execute(m_database.get(), u"PRAGMA user_version = %1;"_s.arg(version).toUtf8(),
                   u"failed to set user_version: ");
}

bool ANEventStore::migrateFromVersion(int version)
{
    for (int pass = 0;; ++pass) {
        if (pass == maximumMigrationPasses) {
            lexi::AnalyticsLog::write(
                u"Migration loop maxed out after 1000 iterations. This is almost certainly a bug. Version %d",
                queryUserVersion());
            return false;
        }
        if (!beginTransaction()) {
            lexi::AnalyticsLog::write(u"Migration failed to begin a transaction with userVersion = %d.", version);
            return false;
        }
        const int step = runMigration(version);
        if (step == 0)
            return commitTransaction();
        if (step < 0) {
            if (!rollbackTransaction())
                lexi::AnalyticsLog::write(u"Migration failed to rollback a transaction with userVersion = %d.",
                                          version);
            return false;
        }
        if (!setUserVersion(version + 1)) {
            lexi::AnalyticsLog::write(u"Migration failed to set the user_version to %d.", version + 1);
            if (!rollbackTransaction())
                lexi::AnalyticsLog::write(u"Migration failed to rollback a transaction after failing to set "
                                          u"user_version (with userVersion = %d).",
                                          version);
            return false;
        }
        if (!commitTransaction()) {
            lexi::AnalyticsLog::write(u"Migration failed to commit a transaction with userVersion = %d.", version);
            return false;
        }
        ++version;
    }
}

int ANEventStore::runMigration(int version)
{
    switch (version) {
    case 0:
        return 1;
    case 1:
        return execute(m_database.get(), addAttemptsColumnText, u"Failed to add attempts column: ") ? 1 : -1;
    case 2:
        return 0;
    default:
        return -1;
    }
}

bool ANEventStore::beginTransaction()
{
    return execute(m_database.get(), "BEGIN IMMEDIATE TRANSACTION;", u"");
}

bool ANEventStore::commitTransaction()
{
    return execute(m_database.get(), "COMMIT TRANSACTION;", u"failed to commit transaction: ");
}

bool ANEventStore::rollbackTransaction()
{
    return execute(m_database.get(), "ROLLBACK TRANSACTION;", u"failed to rollback transaction: ");
}

bool ANEventStore::prepareAllSQLiteStatements()
{
    for (int which = 0; which < statementCount; ++which) {
        sqlite3_stmt *raw = nullptr;
        const int result = sqlite3_prepare_v2(m_database.get(), statementTexts[which].sql, -1, &raw, nullptr);
        m_statements[which].reset(raw);
        if (result != SQLITE_OK) {
            handleSQLiteFailure(statementTexts[which].failure);
            return false;
        }
    }
    return true;
}

bool ANEventStore::checkOpenDB(QStringView notice)
{
    if (openAndInitDB())
        return true;
    lexi::AnalyticsLog::write(notice);
    return false;
}

void ANEventStore::handleSQLiteFailure(QStringView description)
{
    lexi::AnalyticsLog::writeAlways(u"Failed to %@: %@", description,
                                    sqlite3_errmsg(m_database.get()));
    closeDB();
}

void ANEventStore::closeDB()
{
    for (PreparedStatement &prepared : m_statements)
        prepared.reset();
    m_database.reset();
    m_dbIsOpen = false;
}

// Statement helpers.

sqlite3_stmt *ANEventStore::statement(Statement which) const
{
    return m_statements[which].get();
}

void ANEventStore::resetSQLiteStatement(Statement which)
{
    sqlite3_reset(statement(which));
    sqlite3_clear_bindings(statement(which));
}

bool ANEventStore::bindText(Statement which, int index, const QByteArray &text, QStringView failure)
{
    if (sqlite3_bind_text(statement(which), index, text.constData(), int(text.size()), SQLITE_TRANSIENT)
        == SQLITE_OK)
        return true;
    handleSQLiteFailure(failure);
    return false;
}

bool ANEventStore::bindProjectId(Statement which, int index, QStringView failure)
{
    return bindText(which, index, m_projectId.toUtf8(), failure);
}

bool ANEventStore::bindInteger(Statement which, int index, qint64 value, QStringView failure)
{
    if (sqlite3_bind_int64(statement(which), index, value) == SQLITE_OK)
        return true;
    handleSQLiteFailure(failure);
    return false;
}

bool ANEventStore::stepDone(Statement which, QStringView failure)
{
    if (sqlite3_step(statement(which)) == SQLITE_DONE)
        return true;
    handleSQLiteFailure(failure);
    return false;
}

std::optional<quint64> ANEventStore::count(Statement which, QStringView bindFailure, QStringView stepFailure)
{
    if (!bindProjectId(which, 1, bindFailure))
        return std::nullopt;
    if (sqlite3_step(statement(which)) != SQLITE_ROW) {
        handleSQLiteFailure(stepFailure);
        return std::nullopt;
    }
    const qint64 counted = sqlite3_column_int64(statement(which), 0);
    resetSQLiteStatement(which);
    return quint64(std::max<qint64>(counted, 0));
}

bool ANEventStore::inTransaction(QStringView what, const std::function<bool()> &work)
{
    if (!beginTransaction()) {
        handleSQLiteFailure(u"begin transaction to %1"_s.arg(what));
        return false;
    }
    // A failing step has closed the database, which rolls the transaction back.
    if (!work())
        return false;
    if (!commitTransaction()) {
        handleSQLiteFailure(u"commit transaction to %1"_s.arg(what));
        return false;
    }
    return true;
}

void ANEventStore::runForProject(Statement which, QStringView bindFailure, QStringView stepFailure)
{
    if (bindProjectId(which, 1, bindFailure) && stepDone(which, stepFailure))
        resetSQLiteStatement(which);
}

void ANEventStore::runForEachId(Statement which, const QList<quint64> &eventIds, QStringView bindFailure,
                                QStringView stepFailure)
{
    if (eventIds.isEmpty())
        return;
    inTransaction(stepFailure, [&] {
        for (const quint64 eventId : eventIds) {
            if (!bindInteger(which, 1, qint64(eventId), bindFailure) || !stepDone(which, stepFailure))
                return false;
            resetSQLiteStatement(which);
        }
        return true;
    });
}

// Operations.

bool ANEventStore::addEvent(const QByteArray &eventData, const QString &collection)
{
    bool added = false;
    m_dbQueue.sync([&] {
        if (!checkOpenDB(u"DB is closed, skipping addEvent"))
            return;
        if (!bindProjectId(insertStatement, 1, u"bind pid to add event statement")
            || !bindText(insertStatement, 2, collection.toUtf8(), u"bind coll to add event statement"))
            return;
        if (sqlite3_bind_blob(statement(insertStatement), 3, eventData.constData(), int(eventData.size()),
                              SQLITE_TRANSIENT)
            != SQLITE_OK) {
            handleSQLiteFailure(u"bind insert statement");
            return;
        }
        if (!stepDone(insertStatement, u"insert event"))
            return;
        resetSQLiteStatement(insertStatement);
        added = true;
    });
    return added;
}

ANEventStore::EventsByCollection ANEventStore::getEventsWithMaxAttempts(int maxAttempts)
{
    EventsByCollection events;
    m_dbQueue.sync([&] {
        if (hasPendingEventsNow())
            resetPendingEventsNow();
        if (!checkOpenDB(u"DB is closed, skipping getEvents"))
            return;
        if (!bindProjectId(findStatement, 1, u"bind pid to find statement")
            || !bindInteger(findStatement, 2, maxAttempts, u"bind pid to find statement"))
            return;
        // Every row is read before any is marked, so that the marking cannot disturb the reading.
        EventsByCollection found;
        int result;
        while ((result = sqlite3_step(statement(findStatement))) == SQLITE_ROW) {
            sqlite3_stmt *row = statement(findStatement);
            const auto *collection = reinterpret_cast<const char *>(sqlite3_column_text(row, 1));
            const auto *data = static_cast<const char *>(sqlite3_column_blob(row, 2));
            found[QString::fromUtf8(collection)].insert(quint64(sqlite3_column_int64(row, 0)),
                                                         QByteArray(data, sqlite3_column_bytes(row, 2)));
        }
        if (result != SQLITE_DONE) {
            handleSQLiteFailure(u"find events");
            return;
        }
        resetSQLiteStatement(findStatement);
        const bool marked = inTransaction(u"mark event pending", [&] {
            for (const auto &eventsOfCollection : std::as_const(found)) {
                for (auto event = eventsOfCollection.keyBegin(); event != eventsOfCollection.keyEnd(); ++event) {
                    if (!bindInteger(makePendingStatement, 1, qint64(*event), u"bind int for make pending")
                        || !stepDone(makePendingStatement, u"mark event pending"))
                        return false;
                    resetSQLiteStatement(makePendingStatement);
                }
            }
            return true;
        });
        if (marked)
            events = std::move(found);
    });
    return events;
}

void ANEventStore::resetPendingEvents()
{
    m_dbQueue.async([this] { resetPendingEventsNow(); });
}

void ANEventStore::resetPendingEventsNow()
{
    if (checkOpenDB(u"DB is closed, skipping resetPendingEvents"))
        runForProject(resetPendingStatement, u"bind pid to reset pending statement", u"reset pending events");
}

bool ANEventStore::hasPendingEvents()
{
    bool hasPending = false;
    m_dbQueue.sync([&] { hasPending = hasPendingEventsNow(); });
    return hasPending;
}

bool ANEventStore::hasPendingEventsNow()
{
    if (!checkOpenDB(u"DB is closed, skipping hasPendingEvents"))
        return false;
    return count(countPendingStatement, u"bind pid to count pending statement", u"get count of pending rows")
               .value_or(0)
        != 0;
}

quint64 ANEventStore::getPendingEventCount()
{
    quint64 pending = 0;
    m_dbQueue.sync([&] {
        if (checkOpenDB(u"DB is closed, skipping getPendingEventcount"))
            pending = count(countPendingStatement, u"bind pid to count pending statement",
                            u"get count of pending rows")
                          .value_or(0);
    });
    return pending;
}

quint64 ANEventStore::getTotalEventCount()
{
    quint64 total = 0;
    m_dbQueue.sync([&] {
        if (checkOpenDB(u"DB is closed, skipping getTotalEventCount"))
            total = count(countAllStatement, u"bind pid to total event statement", u"get count of total rows")
                        .value_or(0);
    });
    return total;
}

void ANEventStore::incrementAttempts(const QList<quint64> &eventIds)
{
    m_dbQueue.async([this, eventIds] {
        if (checkOpenDB(u"DB is closed, skipping incrementAttempts"))
            runForEachId(incrementAttemptsStatement, eventIds, u"bind eventid to increment attempts statement",
                         u"increment attempts");
    });
}

void ANEventStore::deleteEvents(const QList<quint64> &eventIds)
{
    m_dbQueue.async([this, eventIds] {
        if (checkOpenDB(u"DB is closed, skipping deleteEvent"))
            runForEachId(deleteStatement, eventIds, u"bind eventid to delete statement", u"delete event");
    });
}

void ANEventStore::deleteAllEvents()
{
    m_dbQueue.async([this] {
        if (checkOpenDB(u"DB is closed, skipping deleteAllEvents")
            && stepDone(deleteAllStatement, u"delete all events"))
            resetSQLiteStatement(deleteAllStatement);
    });
}

void ANEventStore::deleteEventsFromOffset(quint64 offset)
{
    m_dbQueue.async([this, offset] {
        if (!checkOpenDB(u"DB is closed, skipping deleteEventsFromOffset"))
            return;
        if (!bindInteger(ageOutStatement, 1, qint64(std::min<quint64>(offset, quint64(INT64_MAX))),
                         u"bind offset to ageOut statement")
            || !stepDone(ageOutStatement, u"delete old events"))
            return;
        resetSQLiteStatement(ageOutStatement);
    });
}

void ANEventStore::purgePendingEvents()
{
    m_dbQueue.async([this] {
        if (checkOpenDB(u"DB is closed, skipping purgePendingEvents"))
            runForProject(purgeStatement, u"bind pid to purge statement", u"purge pending events");
    });
}

// Dates.

QString ANEventStore::offsetText(lexi::Date date)
{
    // The offset of the same C library zone rules that SQLite's 'localtime' uses.
    const std::time_t seconds = std::time_t(std::floor(date.secondsSince1970()));
    std::tm local{};
    localtime_r(&seconds, &local);
    const long minutes = local.tm_gmtoff / 60;
    return u"%1%2:%3"_s.arg(QChar(minutes < 0 ? u'-' : u'+'))
        .arg(std::labs(minutes) / 60, 2, 10, QChar(u'0'))
        .arg(std::labs(minutes) % 60, 2, 10, QChar(u'0'));
}

std::optional<QString> ANEventStore::convertNSDateToISO8601(lexi::Date date)
{
    if (!date.isPlausible())
        return std::nullopt;
    const QString offset = offsetText(date);
    std::optional<QString> text;
    m_dbQueue.sync([&] {
        if (!checkOpenDB(u"DB is closed, skipping date conversion"))
            return;
        // The C locale's decimal point, whatever the learner's locale, as SQLite expects.
        if (!bindText(convertDateStatement, 1, QString::number(date.secondsSince1970(), 'f', 6).toUtf8(),
                      u"bind date to date conversion statement"))
            return;
        if (sqlite3_step(statement(convertDateStatement)) != SQLITE_ROW) {
            handleSQLiteFailure(u"date conversion");
            return;
        }
        const auto *local = reinterpret_cast<const char *>(sqlite3_column_text(statement(convertDateStatement), 0));
        if (local)
            text = QString::fromUtf8(local) + offset;
        resetSQLiteStatement(convertDateStatement);
    });
    return text;
}
