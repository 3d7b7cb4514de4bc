// The report tests' entry point: a core application, or, with
// "--spool-stress DB COUNT CODE", a helper that registers COUNT reports in the database DB
// and prints each name on a line (the concurrency test runs two of them at once).
#include "core/reports/spool.h"
#include "support/tempinstall.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

int spoolStress(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: --spool-stress DB COUNT CODE\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    try {
        qz::Database db = qz::test::openLocation(QString::fromLocal8Bit(argv[2]));
        const int count = std::atoi(argv[3]);
        const QString code = QString::fromLocal8Bit(argv[4]);
        for (int i = 0; i < count; ++i) {
            const QString name = qz::pRegistraSpool(db, code, 6, QStringLiteral("20100000001"),
                                                    QStringLiteral("STRESS"));
            std::printf("%s\n", qPrintable(name));
        }
    } catch (const qz::DbError &e) {
        std::fprintf(stderr, "%d %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--spool-stress") == 0) {
        return spoolStress(argc, argv);
    }
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
