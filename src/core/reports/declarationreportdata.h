// Loading the declaration that pGeneraDeclaracion prints: the box table from DET (HDET for a
// sent declaration), the order number from HCAB, the description of box 828 from PARAM '955',
// the form of payment from CAB (HCAB) with the bank's short name from PARAM '004', and the
// eleven amounts of the box 105 annex.
//
// The statements are the host's texts, each built in one function below with every value
// passed through sqlText. Database errors throw DbError out of loadDeclaration.
#pragma once

#include "core/data/currency.h"
#include "core/reports/declarationreport.h"

#include <QString>

#include <array>

namespace qz {

class Database;

struct DeclarationData {
    static constexpr int kFirstAnnexBox = 546;
    static constexpr int kAnnexCount = 11; // boxes 546 to 556

    // Box n (1 to 899) holds I_valor of the detail row whose Casilla reads n; empty for any
    // other number and for a box without a row.
    QString box(int n) const;
    void setBox(int n, const QString &value);

    // The named fields of the box table that the pages print.
    QString mergerDate() const;     // box 520 (yyyymmdd) as dd/mm/yyyy; other texts unchanged
    QString boxAnswer(int n) const; // "SI" when box n holds "1", otherwise "NO"

    QString orderNumber;    // NORDEN of the HCAB row (sent declarations only)
    QString description828; // trimmed description of the code in box 828, or empty
    bool cheque = false;    // bcolibrad neither Null nor blank
    QString bankCode;       // bcolibrad
    QString chequeNumber;   // nrocheque
    QString bankName;       // trimmed short name of the bank (PARAM '004', 38-49), or empty

    std::array<Currency, kAnnexCount> annex{}; // amounts of boxes 546 to 556
    Currency annexTotal;                       // their sum rounded to whole units

private:
    std::array<QString, 900> boxes_;
};

// The statements, as the host writes them.
QString sentHeaderStatement(const DeclarationSelection &s); // HCAB, for NORDEN
QString detailStatement(const DeclarationSelection &s);     // DET / HDET
QString box828Statement(const QString &code);               // PARAM '955'
QString paymentStatement(const DeclarationSelection &s);    // CAB / HCAB
QString bankStatement(const QString &bankCode);             // PARAM '004'
QString annexStatement(const DeclarationSelection &s);      // DET / HDET 546-556

// Runs the loading steps in the host's order (the annex only when it is wanted). Throws
// DbError.
DeclarationData loadDeclaration(Database &db, const DeclarationSelection &s);

} // namespace qz
