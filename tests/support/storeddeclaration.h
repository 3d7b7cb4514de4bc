// Rows of a stored declaration of form 0731 written the way declmod stores them, for the
// tests of the programs that read them (declchk, declrep).
#pragma once

#include "core/data/database.h"

#include <QMap>
#include <QString>

namespace qz::test {

// The RUC of a demo taxpayer, by name; throws when there is none.
QString demoRuc(Database &db, const QString &nombre);

// The host's 36-character argument string: "06", the RUC padded to 15, "0731", the period
// (six characters), the code and the eight-character number.
QString argumentString(const QString &ruc, const QString &periodo, const QString &codigo = "A",
                       const QString &numero = "00000123");

// The head of a statement that makes count rows at once: "WITH RECURSIVE n(i) AS (…) " with i
// from 0 to count - 1, for the benchmarks' large databases.
QString numberedRows(int count);

class StoredDeclaration final {
public:
    StoredDeclaration(Database &db, QString ruc, QString periodo)
        : db_(db), ruc_(std::move(ruc)), periodo_(std::move(periodo))
    {
    }

    // One DET row: box and value ("###########0" for amounts), week 0.
    void box(const QString &casilla, const QString &valor);
    // The CAB row of week `semana` with the given further columns (estado 0 unless given).
    void header(const QMap<QString, QString> &columns = {}, int semana = 0);
    // One F731EMPRESAS row; only the columns declchk and the totals read.
    void company(const QString &numDoc, const QString &tipEmpresa, const QString &mtoImpPag);

private:
    Database &db_;
    QString ruc_;
    QString periodo_;
};

} // namespace qz::test
