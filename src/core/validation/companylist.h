// The companies list of a reorganization on the declaration window: the rows of the scratch
// table TMPF731EMPRESAS, their totals (the tax total feeds box 115), the row count and the
// deletion of one company. No widgets: the window shows what these functions return.
//
// Every company amount is text in the table, stored as a whole number ("##############0");
// totals are added in the currency type, so no binary rounding creeps into box 115.
#pragma once

#include "core/data/database.h"
#include "core/data/messenger.h"

#include <QString>
#include <QStringList>

namespace qz {

// The captions of the list's eight columns, in the order of companyListRows().
QStringList companyColumnCaptions();

// The list's rows: RUC, name, net assets, percentage, additions, deductions, tax base and tax,
// as stored. Throws DbError.
QueryResult companyListRows(Database &db);

// A cell of the list as it is shown: the amounts grouped by thousands, the share with two
// decimals, the RUC and the name as stored.
QString companyCellText(int column, const Value &value);
// True for the columns of numbers, which stand right-aligned.
bool companyColumnIsNumber(int column);

// What a reload of the list puts next to it.
struct CompanyTotals {
    QString totalBase;     // the total base field, "###,###,###,###,###" (zero shows empty)
    QString totalImpuesto; // the total tax field, formatted the same way
    QString box115;        // the total tax field formatted "###,###,###,###,##0"
    int count = 0;         // the row count, the companies count of the validation
    QString countCaption;  // the count label: count followed by "   Registros      "
};

// The list reload: sums the tax base and the tax of every company (each value formatted
// "###########0.#0" first, then read as a number; text that is not a number counts 0) and
// counts the rows. With no company both totals and box 115 are empty and the count is 0.
// Throws DbError.
CompanyTotals companyTotals(Database &db);

// Deletes the company with this RUC from the scratch table; returns the rows deleted (0 when
// there is none). Throws DbError.
int deleteCompany(Database &db, const QString &ruc);

// "&Eliminar" of the companies list for the selected row's RUC: asks "¿Confirma que va a
// eliminar la información?" (question icon, Yes/No, No the default, title = the window's
// caption) and deletes the company on Yes. A database error is shown in the standard box
// (title "Error": number, line feed, description). True when the company was deleted; the
// caller then reloads the list and sets AlgunCambio. An empty ruc (empty list) asks nothing.
bool confirmDeleteCompany(Database &db, Messenger &messenger, const QString &title,
                          const QString &ruc);

} // namespace qz
