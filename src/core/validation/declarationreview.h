// The review of the declaration on the window: the identification gate ValidaContForm1, the
// review ValidaDeclaracion with its inconsistency listing Mens.txt, and the silent test
// EsConsistente that decides the saved state. All read the model only; a blocking finding
// comes back as a ReviewStop for the window to show (critical icon, the window's caption as
// title, the page and the focus it names).
#pragma once

#include "core/components/textutility.h"
#include "core/declaration/declarationmodel.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qz {

// A blocking finding: its message, the page to show and where the focus goes.
struct ReviewStop {
    enum class Focus { None, Box, Field, TaxpayerList, ReorgList, Salir };
    QString message;
    int page = -1; // -1: the page stays
    Focus focus = Focus::None;
    int box = 0;
    Field field = Field::Telefono;
};

struct ReviewResult {
    std::optional<ReviewStop> stop; // a blocking finding ended the review
    QStringList lines;              // the listed inconsistencies, in order
    bool fileWritten = false;       // Mens.txt could be written
};

class DeclarationReview final {
public:
    explicit DeclarationReview(DeclarationModel &model) : model_(model) {}

    // The document number rules of a document type ("06", "1"...): length and characters
    // from the type's PARAM '044' row; false without a row, an empty type or number.
    bool ValidaNumDoc(const QString &type, const QString &number);
    // Both RUC tests: the taxpayer-number check and ValidaNumDoc with type "06".
    bool validRuc(const QString &ruc);

    // The identification gate on leaving page 0; nullopt when the user may leave.
    std::optional<ReviewStop> ValidaContForm1();

    // The review, writing the listed findings to mensPath (Windows-1252, CR LF, rewritten).
    ReviewResult ValidaDeclaracion(const QString &mensPath);

    // True when none of the inconsistency conditions holds.
    bool EsConsistente();

    // The checks that stop "&Validar" after the review, in their order: the taxpayer, the
    // cheque's bank and number, the representative's document. nullopt when none stops it.
    std::optional<ReviewStop> CmdValidarChecks();
    // A new declaration needs a chosen taxpayer without a declaration for the exercise.
    std::optional<ReviewStop> taxpayerCheck();
    // Paying by cheque needs a bank and a cheque number that is not zero.
    std::optional<ReviewStop> chequeCheck();
    // A representative's DNI or LE has 8 characters.
    std::optional<ReviewStop> dniCheck();

    // The telephone rules shared by the gate and the review: the failing rule's index 1-3,
    // 0 when the telephone passes.
    static int telephoneRule(const QString &telephone);
    // The number of companies in the scratch table TMPF731EMPRESAS.
    int companiesCount();

private:
    QString taxpayerRuc() const;
    QString representativeType() const;
    bool reorganizationOpen() const;
    bool dateAcceptable() const;

    DeclarationModel &model_;
    TextUtility textUtility_;
};

} // namespace qz
