#pragma once

#include "analytics/ANClient.h"

#include "platform/files/Defaults.h"
#include "support/FakeClock.h"
#include "support/FakeNetworkReachability.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

struct sqlite3;

namespace lexi::test {

// A second connection to a test's database, to look at and prepare what the store keeps.
class SqliteFile
{
public:
    explicit SqliteFile(const QString &path);
    ~SqliteFile();

    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    bool execute(const QByteArray &sql);
    // Column 0 of the first row; -1 when there is none.
    qint64 integer(const QByteArray &sql);
    // Column 0 of every row as text.
    QStringList texts(const QByteArray &sql);

private:
    sqlite3 *m_database = nullptr;
};

// A temporary installation for analytics tests: settings, a fake clock and network, the
// database and the caches folder in a temporary folder. Logging of the analytics classes is off.
class AnalyticsInstallation
{
public:
    AnalyticsInstallation();
    ~AnalyticsInstallation();

    QString databasePath() const;
    QString cachesFolder() const;
    ANClient::Environment environment();

    QTemporaryDir folder;
    Defaults defaults;
    FakeClock clock;
    FakeNetworkReachability network;
};

} // namespace lexi::test
