// The test run's PostgreSQL cluster and fresh databases in it.
#include "support/pgcluster.h"

#include "core/data/database.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <atomic>

namespace qz::test {

namespace {

// Skips every test of a program that runs on the server when there is none.
class ServerEnvironment final : public testing::Environment {
public:
    void SetUp() override
    {
        const PgCluster cluster = pgCluster();
        if (cluster.adminConninfo.isEmpty()) {
            GTEST_SKIP() << "no PostgreSQL server: " << cluster.skipReason.toStdString();
        }
    }
};

const bool registered = [] {
    if (onServer()) {
        testing::AddGlobalTestEnvironment(new ServerEnvironment);
    }
    return true;
}();

} // namespace

bool onServer()
{
    return qgetenv("QZ_TEST_ENGINE") == "pg";
}

PgCluster pgCluster()
{
    (void)registered;
    PgCluster cluster;
    const QString file = qEnvironmentVariable("QZ_PG_CLUSTER");
    if (file.isEmpty()) {
        cluster.skipReason = QStringLiteral("QZ_PG_CLUSTER is not set");
        return cluster;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        cluster.skipReason =
            QStringLiteral("cannot read %1 (the cluster was not started)").arg(file);
        return cluster;
    }
    const QString content = QString::fromUtf8(f.readAll()).trimmed();
    if (content.startsWith(QLatin1String("SKIP"))) {
        cluster.skipReason = content.mid(4).trimmed();
    } else if (content.isEmpty()) {
        cluster.skipReason = QStringLiteral("%1 is empty").arg(file);
    } else {
        cluster.adminConninfo = content;
    }
    return cluster;
}

PgTempDatabase::PgTempDatabase() : cluster_(pgCluster())
{
    if (cluster_.adminConninfo.isEmpty()) {
        message_ = cluster_.skipReason;
        return;
    }
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("qzt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    try {
        Database admin = Database::connect(cluster_.adminConninfo);
        admin.executeNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name_));
        admin.executeNative(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C'")
                .arg(name_));
        conninfo_ = cluster_.adminConninfo + QStringLiteral(" dbname=") + name_;
        ok_ = true;
    } catch (const DbError &e) {
        message_ = QStringLiteral("cannot create database %1: %2 %3")
                       .arg(name_)
                       .arg(e.number())
                       .arg(e.description());
    }
}

PgTempDatabase::~PgTempDatabase()
{
    if (!ok_) {
        return;
    }
    try {
        Database admin = Database::connect(cluster_.adminConninfo);
        admin.executeNative(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
    } catch (const DbError &) {
        // The cluster goes away at the end of the run with everything in it.
    }
}

} // namespace qz::test
