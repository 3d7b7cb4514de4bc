// Saving the declaration on the window ("&Grabar"): the checks that stop it, the header in
// CAB with its state (0 consistent, 9 not), the parameter fingerprint, the detail in DET
// (sparing the box-105 assistant's rows 546-556), the box-110 amounts in F731PORCENTAJE, the
// companies in F731EMPRESAS, every row with its record control code; and, for a sent
// declaration, the registration of the order number in HCAB and HDET.
//
// The whole save runs in one transaction: a statement that fails rolls everything back, the
// stored declaration stays as it was before the save and the one on the window is untouched,
// so the user can save again. The statements and their order are the host's.
#pragma once

#include "core/declaration/declarationmodel.h"
#include "core/validation/declarationreview.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qz {

struct SaveOutcome {
    bool saved = false;
    std::optional<ReviewStop> stop; // a check refused the save; nothing was written
    QString error;                  // a database error; everything was rolled back
    bool consistent = false;        // estado 0
    QStringList notices;            // payment notices (information icon), in order
    QString finalMessage;           // the last message, with finalIcon
    MessageIcon finalIcon = MessageIcon::Information;
};

class DeclarationSave final {
public:
    explicit DeclarationSave(DeclarationModel &model) : model_(model), review_(model) {}

    // CmdGrabar_Click of the save view.
    SaveOutcome CmdGrabar();

    // CmdGrabar_Click of the sent-declaration view: the order number and its check code of
    // the window's order-number fields against sNumControl.
    SaveOutcome registerOrder();

    // Writes one DET row of the declaration; false when the value counts as empty.
    bool GrabaCasilla(const QString &box, const QString &value, const QString &exercise,
                      const QString &ruc);
    // The parameter fingerprint of box 722 (PARAM '981' of the form and the families it names).
    QString fingerprint();
    void Graba_Renta(const QString &ruc, const QString &exercise);
    QString MensajeError(int code);

    // The payment notices after a review or a save (amount to pay against the final balance).
    static QStringList paymentNotices(const DeclarationModel &model);

private:
    std::optional<ReviewStop> checks();
    void writeHeader(const QString &ruc, const QString &exercise, bool consistent);
    void writeBoxes(const QString &ruc, const QString &exercise);
    void writeCompanies(const QString &ruc, const QString &exercise);
    QString keys(const QString &ruc, const QString &exercise) const;

    DeclarationModel &model_;
    DeclarationReview review_;
};

} // namespace qz
