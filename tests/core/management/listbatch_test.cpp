// The lists read a batch at a time: the batches together are the host's list, each row once, in
// the host's order, however the batches fall between the declarations of one taxpayer and
// whatever another program changes between two batches.
#include "core/management/declarationlists.h"
#include "managementfixture.h"

#include <QSet>

#include <optional>

namespace qz {
namespace {

class ListBatchTest : public test::ManagementTest {
protected:
    void SetUp() override
    {
        test::ManagementTest::SetUp();
        // Four taxpayers with several declarations each, so that batches cut through ties; the
        // last number holds a quote, so that batches start after keys that hold one.
        for (const char *ruc : {"20000000001", "20000000002", "20000000003", "20000000003'"}) {
            db_.execute("INSERT INTO CONT VALUES (6, " + sqlQuoted(ruc) +
                        ", 2, 'EMPRESA', 'USUARIO1')");
            for (const char *periodo : {"2007", "2008", "2009"}) {
                registered(ruc, periodo);
                sent(ruc, periodo, "001");
                sent(ruc, periodo, "002");
            }
        }
    }

    // Every row of a list read in batches of `size`.
    std::vector<ListRow> readAll(const DeclarationListQuery &q, int size)
    {
        std::vector<ListRow> rows;
        std::optional<ListKey> after;
        for (;;) {
            const QueryResult batch = q.batch(db_, after, size);
            for (int r = 0; r < batch.rowCount(); ++r) {
                rows.push_back(batch.row(r));
            }
            // A batch that does not move on would repeat rows for ever.
            if (batch.rowCount() < size || rows.size() > 1000) {
                return rows;
            }
            after = q.keyOf(rows.back());
        }
    }
    static QStringList keys(const DeclarationListQuery &q, const std::vector<ListRow> &rows)
    {
        QStringList k;
        for (const ListRow &row : rows) {
            QStringList parts;
            for (const Value &v : q.keyOf(row)) {
                parts << v.toText();
            }
            k << parts.join('|');
        }
        return k;
    }
};

// Batches of every size give the host statement's rows, each once, ordered by taxpayer.
TEST_F(ListBatchTest, BatchesOfAnySizeAreTheHostList)
{
    const std::pair<DeclarationList, QString> lists[] = {
        {DeclarationList::Registered, FrmContAbrirSql("0731", "USUARIO0", "0")},
        {DeclarationList::Sent, FrmContAbrirEnvSql("0731", "USUARIO0", "0")},
        {DeclarationList::PrintRegistered, FrmTipPrnRSql(false, "0731", "USUARIO0", "0")}};
    for (const auto &[list, sql] : lists) {
        SCOPED_TRACE(sql.toStdString());
        const bool registeredList = list != DeclarationList::Sent;
        const DeclarationListQuery q(list, "0731", "USUARIO0", "0");
        const QueryResult host = db_.query(sql);
        ASSERT_EQ(static_cast<int>(host.columns().size()), q.shownColumns());
        ASSERT_EQ(host.rowCount(), registeredList ? 12 : 24);
        QStringList hostRows;
        for (int r = 0; r < host.rowCount(); ++r) {
            QStringList cells;
            for (const Value &v : host.row(r)) {
                cells << v.toText();
            }
            hostRows << cells.join('|');
        }
        const QStringList whole = keys(q, readAll(q, 1000));
        for (int size : {1, 2, 3, 4, 7}) {
            SCOPED_TRACE(size);
            const std::vector<ListRow> rows = readAll(q, size);
            EXPECT_EQ(keys(q, rows), whole);
            EXPECT_EQ(QSet<QString>(whole.begin(), whole.end()).size(), whole.size());
            QStringList shown;
            for (size_t r = 0; r < rows.size(); ++r) {
                QStringList cells;
                for (int c = 0; c < q.shownColumns(); ++c) {
                    cells << rows[r].at(c).toText();
                }
                shown << cells.join('|');
                if (r > 0) {
                    EXPECT_LE(rows[r - 1].at(0).toText(), rows[r].at(0).toText());
                }
            }
            QStringList a = shown, b = hostRows;
            a.sort();
            b.sort();
            EXPECT_EQ(a, b);
        }
    }
}

// A row another program inserts or deletes between two batches is neither repeated nor the
// cause of a skipped row.
TEST_F(ListBatchTest, ChangesBetweenBatchesRepeatAndSkipNothing)
{
    const DeclarationListQuery q(DeclarationList::Registered, "0731", "USUARIO0", "0");
    const QueryResult first = q.batch(db_, std::nullopt, 4);
    ASSERT_EQ(first.rowCount(), 4);
    registered("20000000001", "2001"); // before the read position
    db_.execute("DELETE FROM CAB WHERE doc_id_d='20000000001' AND periodo='2007'");
    const QueryResult rest = q.batch(db_, q.keyOf(first.row(3)), 0);
    QStringList k;
    for (int r = 0; r < first.rowCount(); ++r) {
        k << first.at(r, 0).toText() + first.at(r, 2).toText();
    }
    for (int r = 0; r < rest.rowCount(); ++r) {
        k << rest.at(r, 0).toText() + rest.at(r, 2).toText();
    }
    EXPECT_EQ(k.size(), 12);
    EXPECT_EQ(QSet<QString>(k.begin(), k.end()).size(), 12);
    EXPECT_EQ(k.mid(4, 3), QStringList({"200000000022008", "200000000022009", "200000000032007"}));
}

} // namespace
} // namespace qz
