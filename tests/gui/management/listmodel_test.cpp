// The batched list model: rows read a batch at a time as they are asked for, alignment, and the
// rows read again with a kept row found further on.
#include "managementuifixture.h"

#include "core/data/transaction.h"

#include <QAbstractItemModelTester>
#include <QSet>

namespace qz {
namespace {

class ListModelTest : public test::ManagementUiTest {
protected:
    // n taxpayers "3000000000i" of USUARIO1 with a registered declaration of 2009 each; every
    // tenth also one of 2008 (ties of one taxpayer across batch boundaries).
    void many(int n)
    {
        Transaction t(db_);
        // m(i, ruc): the taxpayer number by arithmetic, which both engines share (printf does not).
        const QString numbers =
            QString("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < "
                    "%1), m(i, ruc) AS (SELECT i, CAST(30000000000 + i AS TEXT) FROM n) ")
                .arg(n - 1);
        db_.execute(numbers + "INSERT INTO CONT SELECT 6, ruc, 2, 'EMPRESA ' || "
                              "i, 'USUARIO1' FROM m");
        db_.execute(numbers + "INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, "
                              "semana, estado) SELECT 6, ruc, '2009', '0731', "
                              "0, 0 FROM m");
        db_.execute(numbers + "INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, "
                              "semana, estado) SELECT 6, ruc, '2008', '0731', "
                              "0, 9 FROM m WHERE i % 10 = 0");
        t.commit();
    }
    std::unique_ptr<DeclarationListModel> registeredModel()
    {
        return std::make_unique<DeclarationListModel>(
            db_, DeclarationListQuery(DeclarationList::Registered, "0731", "USUARIO0", "0"),
            FrmContAbrirHeadings(), std::vector<ColumnFormat>{});
    }
    static QStringList keys(const DeclarationListModel &m)
    {
        QStringList k;
        for (int r = 0; r < m.rowCount(); ++r) {
            k << m.row(r).at(0).toText() + '/' + m.row(r).at(2).toText();
        }
        return k;
    }
};

TEST_F(ListModelTest, ReadsABatchAtATimeEachRowOnceInOrder)
{
    many(600); // 660 declarations
    const auto model = registeredModel();
    DeclarationListModel &m = *model;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    m.reload();
    EXPECT_EQ(m.rowCount(), DeclarationListModel::kBatchSize);
    EXPECT_TRUE(m.canFetchMore({}));
    m.fetchMore({});
    EXPECT_EQ(m.rowCount(), 2 * DeclarationListModel::kBatchSize);
    while (m.canFetchMore({})) {
        m.fetchMore({});
    }
    ASSERT_EQ(m.rowCount(), 660);
    const QStringList k = keys(m);
    EXPECT_EQ(QSet<QString>(k.begin(), k.end()).size(), 660);
    for (int r = 1; r < m.rowCount(); ++r) {
        ASSERT_LT(k[r - 1], k[r]) << r; // by number, then period
    }
    EXPECT_EQ(m.columnCount(), 5);
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Razón Social"));
    const int estado = m.index(0, registeredcol::kEstado).data(Qt::TextAlignmentRole).toInt();
    EXPECT_TRUE(estado & Qt::AlignRight);
    const int ruc = m.index(0, registeredcol::kRuc).data(Qt::TextAlignmentRole).toInt();
    EXPECT_FALSE(ruc & Qt::AlignRight);

    // Read again: as many rows as before, not one batch.
    m.reload();
    EXPECT_EQ(m.rowCount(), 660);
    m.clear();
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_FALSE(m.canFetchMore({}));
}

// A kept row beyond the rows read before, pushed further by rows another program inserted, is
// read up to; a row that is gone leaves the rows as they were read.
TEST_F(ListModelTest, ReadingAgainReachesTheKeptRow)
{
    many(600);
    const auto model = registeredModel();
    DeclarationListModel &m = *model;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    m.reload();
    m.fetchMore({});
    const ListKey kept = m.keyOf(500);
    for (int i = 0; i < 30; ++i) {
        registered(QString("30%1").arg(i, 9, 10, QChar('0')), QString::number(1960 + i));
    }
    m.reload(kept);
    const int at = m.rowOf(kept);
    ASSERT_GE(at, 0);
    EXPECT_EQ(at, 530);
    EXPECT_TRUE(m.canFetchMore({}));

    db_.execute("DELETE FROM CAB WHERE doc_id_d='" + kept.at(0).toText() + "'");
    m.reload(kept);
    EXPECT_EQ(m.rowOf(kept), -1);
    EXPECT_GE(m.rowCount(), 530);
}

} // namespace
} // namespace qz
