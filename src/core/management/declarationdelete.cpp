// The deletes of registered and sent declarations.
#include "core/management/declarationdelete.h"

#include "core/data/sqltext.h"
#include "core/data/transaction.h"
#include "core/declaration/declarationkey.h"
#include "core/management/declarationlists.h"

namespace qz {

namespace {

DialogMessage deleteQuestion(const QString &title, const QString &text)
{
    return {MessageIcon::Question, title, text, MessageButtons::YesNo, MessageAnswer::No};
}

void executeAll(Database &db, const QStringList &statements)
{
    Transaction t(db);
    for (const QString &sql : statements) {
        db.execute(sql);
    }
    t.commit();
}

} // namespace

DialogMessage registeredDeleteQuestion(const QString &nombre)
{
    return deleteQuestion(FrmContAbrirTexts(3).caption,
                          QStringLiteral("¿Confirma que va a eliminar la declaración de\r\n\r\n") +
                              nombre.trimmed() + u'?');
}

DialogMessage sentDeleteQuestion()
{
    return deleteQuestion(
        FrmContAbrirEnvTexts(3, false).caption,
        QStringLiteral("¿Confirma que va a eliminar la declaración seleccionada?"));
}

QStringList registeredDeleteStatements(const QString &ruc, const QString &periodo,
                                       const QString &formulario)
{
    const QString key = declarationKey(ruc, periodo, formulario);
    // The trailing blanks of the last two table names are the host's (two blanks before WHERE).
    return {QStringLiteral("DELETE * FROM DET") + key, QStringLiteral("DELETE * FROM CAB") + key,
            QStringLiteral("DELETE * FROM F731EMPRESAS ") + key,
            QStringLiteral("DELETE * FROM F731PORCENTAJE ") + key};
}

QStringList sentDeleteStatements(const QString &ruc, const QString &periodo,
                                 const QString &formulario, const QString &correl)
{
    const QString key = declarationKey(ruc, periodo, formulario) + QStringLiteral(" AND CORREL='") +
                        sqlText(correl) + u'\'';
    return {QStringLiteral("DELETE * FROM HDET") + key, QStringLiteral("DELETE * FROM HCAB") + key,
            QStringLiteral("DELETE * FROM HF731EMPRESAS ") + key};
}

void deleteRegistered(Database &db, const QString &ruc, const QString &periodo,
                      const QString &formulario)
{
    executeAll(db, registeredDeleteStatements(ruc, periodo, formulario));
}

void deleteSent(Database &db, const QString &ruc, const QString &periodo, const QString &formulario,
                const QString &correl)
{
    executeAll(db, sentDeleteStatements(ruc, periodo, formulario, correl));
}

void deleteRegisteredRow(Database &db, const QueryResult &list, int row, const QString &formulario)
{
    deleteRegisteredRow(db, list.row(row), formulario);
}

void deleteSentRow(Database &db, const QueryResult &list, int row, const QString &formulario)
{
    deleteSentRow(db, list.row(row), formulario);
}

void deleteRegisteredRow(Database &db, const ListRow &row, const QString &formulario)
{
    deleteRegistered(db, row.at(registeredcol::kRuc).toText(),
                     row.at(registeredcol::kPeriodo).toText(), formulario);
}

void deleteSentRow(Database &db, const ListRow &row, const QString &formulario)
{
    deleteSent(db, row.at(sentcol::kRuc).toText(), row.at(sentcol::kPeriodo).toText().trimmed(),
               formulario, row.at(sentcol::kCorrel).toText());
}

} // namespace qz
