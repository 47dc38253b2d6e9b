#include "AnalyticsTestSupport.h"

#include <QStringList>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace lexi::test {

SqliteFile::SqliteFile(const QString &path)
{
    sqlite3_open(path.toUtf8().constData(), &m_database);
    // The store may still be writing what it was given last.
    sqlite3_busy_timeout(m_database, 10000);
}

SqliteFile::~SqliteFile()
{
    sqlite3_close(m_database);
}

bool SqliteFile::execute(const QByteArray &sql)
{
    return sqlite3_exec(m_database, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 SqliteFile::integer(const QByteArray &sql)
{
    sqlite3_stmt *statement = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(m_database, sql.constData(), -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

QStringList SqliteFile::texts(const QByteArray &sql)
{
    sqlite3_stmt *statement = nullptr;
    QStringList values;
    if (sqlite3_prepare_v2(m_database, sql.constData(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            values.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
    }
    sqlite3_finalize(statement);
    return values;
}

AnalyticsInstallation::AnalyticsInstallation() : defaults(folder.filePath(u"Lexicarta.conf"_s))
{
    ANClient::disableLogging();
}

AnalyticsInstallation::~AnalyticsInstallation()
{
    ANClient::disableLogging();
}

QString AnalyticsInstallation::databasePath() const
{
    return folder.filePath(u"analyticsEvents.sqlite"_s);
}

QString AnalyticsInstallation::cachesFolder() const
{
    return folder.filePath(u"caches"_s);
}

ANClient::Environment AnalyticsInstallation::environment()
{
    ANClient::Environment environment;
    environment.databasePath = databasePath();
    environment.cachesFolder = cachesFolder();
    environment.defaults = &defaults;
    environment.reachability = &network;
    environment.clock = &clock;
    return environment;
}

} // namespace lexi::test
