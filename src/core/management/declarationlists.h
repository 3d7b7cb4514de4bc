// The lists of FrmContAbrir (registered declarations) and FrmContAbrirEnv (sent declarations):
// their statements, the user condition, the texts of each mode and the grid headings, and the
// same lists read a batch at a time.
//
// The statements keep the host's text; the only values in them, the form code and the user,
// pass through sqlText. A user of type "0" sees every taxpayer; any other user, and a user
// without a CLAVES row, only the taxpayers whose CONT.Usuario is theirs.
#pragma once

#include "core/data/database.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qz {

// Result columns of the registered list (FrmContAbrir); kSemana only in a batch's rows.
namespace registeredcol {
constexpr int kRuc = 0, kNombre = 1, kPeriodo = 2, kFormulario = 3, kEstado = 4, kSemana = 5;
}
// Result columns of the sent list (FrmContAbrirEnv); kSemana only in a batch's rows.
namespace sentcol {
constexpr int kRuc = 0, kNombre = 1, kPeriodo = 2, kFormulario = 3, kNorden = 4, kFecEnv = 5,
              kControl = 6, kCorrel = 7, kSemana = 8;
}

// " AND B.USUARIO='<usuario>'", or empty text when tipo is "0".
QString listUserCondition(const QString &usuario, const QString &tipo);
// The user's type for the lists: CLAVES.Tipo, "1" without a row or when CLAVES cannot be read
// (the narrower list).
QString listUserType(Database &db, const QString &usuario);

// The statements with a user of the given type.
QString FrmContAbrirSql(const QString &formulario, const QString &usuario, const QString &tipo);
QString FrmContAbrirEnvSql(const QString &formulario, const QString &usuario, const QString &tipo);

// The print dialog's statement: the sent list (bHistorico) or the registered one.
QString FrmTipPrnRSql(bool bHistorico, const QString &formulario, const QString &usuario,
                      const QString &tipo);

// The lists for a user, the type read from CLAVES. Throw DbError.
QueryResult registeredDeclarations(Database &db, const QString &formulario, const QString &usuario);
QueryResult sentDeclarations(Database &db, const QString &formulario, const QString &usuario);

// What a dialog shows in one mode.
struct ListDialogTexts {
    QString caption;
    QString prompt;
    QString actionButton;        // button 0
    bool showVisualizar = false; // button 2, FrmContAbrirEnv in recovery mode only
};

// FrmContAbrir by iOpcion (1 modify, 3 delete); other values give empty texts.
ListDialogTexts FrmContAbrirTexts(int iOpcion);
// FrmContAbrirEnv by iModo (1 register, 3 delete) and bRecuperar (button "Recuperar" and
// "&Visualizar" over the texts of mode 1); other modes give empty texts.
ListDialogTexts FrmContAbrirEnvTexts(int iModo, bool bRecuperar);

QStringList FrmContAbrirHeadings();
// Column 7 (Correl) is hidden in the grid; its heading is still listed.
QStringList FrmContAbrirEnvHeadings();

// Result columns of the print dialog's lists (FrmTipPrnR): the sent list is FrmContAbrirEnv's;
// the registered one stops after the form code, its week (kRegisteredSemana) only in a batch's
// rows.
namespace printcol {
constexpr int kRuc = 0, kNombre = 1, kPeriodo = 2, kFormulario = 3, kNorden = 4, kFecEnv = 5,
              kControl = 6, kCorrel = 7, kRegisteredSemana = 4;
}

// A row of a list as a batch returns it: the dialog's columns, then the key's week (semana).
using ListRow = std::vector<Value>;
// The values that name one row of a list, in the order of the key.
using ListKey = std::vector<Value>;

// The registered declarations of FrmContAbrir (with their state), those of the print dialog
// (without it), and the sent ones.
enum class DeclarationList { Registered, Sent, PrintRegistered };

// A dialog's list read a batch at a time, so that a grid shows its first rows at once however
// many declarations there are.
//
// A batch is the host's statement with three additions: "after this row", the host's order by
// taxpayer number completed by the rest of the table's key (period, form, week and, for a
// sending, its number), and a limit. The whole key makes "the rows after this one" exact: the
// batches never repeat or skip a row, even when another program changes the table between two
// of them, and each batch is read from the key's index, so it costs the same at row 99,000 as at
// row 0. (The host's order alone leaves the declarations of one taxpayer in no fixed order, and
// LIMIT/OFFSET would read every row before the offset again.) The key's values pass through
// sqlQuoted.
class DeclarationListQuery final {
public:
    DeclarationListQuery(DeclarationList list, QString formulario, QString usuario, QString tipo);
    // With the user's type read from CLAVES (listUserType).
    static DeclarationListQuery forUser(Database &db, DeclarationList list,
                                        const QString &formulario, const QString &usuario);

    DeclarationList list() const { return list_; }
    // The dialog's columns, at the start of every row: 5 registered, 4 registered for
    // printing, 8 sent.
    int shownColumns() const;
    // The key of a row of a batch: number, period, form, week (and the sending number).
    ListKey keyOf(const ListRow &row) const;

    // The rows after the row named `after` (from the first row without it), at most `limit` of
    // them (no limit when limit is 0), and with `through` none after the row it names.
    QString batchSql(const std::optional<ListKey> &after, int limit,
                     const std::optional<ListKey> &through = std::nullopt) const;
    // Runs batchSql. Throws DbError.
    QueryResult batch(Database &db, const std::optional<ListKey> &after, int limit,
                      const std::optional<ListKey> &through = std::nullopt) const;

private:
    DeclarationList list_;
    QString formulario_;
    QString usuario_;
    QString tipo_;
};

} // namespace qz
