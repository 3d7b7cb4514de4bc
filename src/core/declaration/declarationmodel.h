// The declaration on the window Frm731, without widgets: every box's text and state, the five
// answers, the reorganization type, the identification and complementary fields, the payment
// data, the pages and labels, and the flags of loading and change.
//
// Setting a box to a different text runs that box's change handling, the fixed chain of
// calculations (calculations.cpp); the same text does nothing. The operations of the window
// are members here, each group in a file of its own: the chain (calculations.cpp), the
// identification and options (identification.cpp), the loader (loader.cpp) and the entry
// checks (entrychecks.cpp). The window binds its widgets to this model through the signals.
#pragma once

#include "core/components/paymentdata.h"
#include "core/components/textutility.h"
#include "core/data/currency.h"
#include "core/data/database.h"
#include "core/data/messenger.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>

namespace qz {

enum class BoxColor { White, Grey, Cyan };

struct BoxState {
    QString text;
    bool locked = false; // read-only
    bool enabled = true;
    bool visible = true;
    BoxColor color = BoxColor::White;
    int maxLength = 15;
};

// The five yes/no questions; codes "1" Si, "0" No, empty when neither is selected.
enum class Answer { Rectifica, Ajuste, Liquid, Reorg, Coop };

// The window's fields that are not boxes.
enum class Field {
    Telefono,
    Periodo,    // the exercise, mask "####"
    FechaReorg, // mask "##/##/####"
    CantEmpresas,
    NombreContador,
    ApellidoContador,
    ApellidoRepresentante,
    NombreRepresentante,
    NumOrden,
    NumOrdenCheck,
    Razon,
};

// Where the model asks the window to put the focus.
struct FocusTarget {
    int box = 0;                // a box, or 0
    std::optional<Field> field; // a field
    bool taxpayerList = false;
};

class DeclarationModel final : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kCaption = "731 Vexilar";

    DeclarationModel(Database &db, Messenger &messenger, QObject *parent = nullptr);

    // --- Run state given by the caller before the window opens.
    int iModo = 0; // 0 new declaration, 1 existing one
    bool bHistorico = false;
    QString sCorrel;
    QString sNumControl;
    QString sFormulario = QStringLiteral("0731");
    QString sUsuario;
    QString sRuc;
    QString sRazon;
    // The program-wide period of the status bar, written by Calcular114 and the exercise.
    QString sPeriodoActual;
    // The exercise of the declaration on the window, the key of every query.
    QString sPeriodo() const { return sPeriodo_; }
    void setSPeriodo(const QString &periodo) { sPeriodo_ = periodo; }

    // --- Boxes.
    const BoxState &box(int number) const;
    QString text(int number) const { return box(number).text; }
    // Sets the text and, when it differs, runs the change handling.
    void setText(int number, const QString &text);
    void setLocked(int number, bool locked, BoxColor color);
    void setEnabled(int number, bool enabled);
    void setVisible(int number, bool visible);
    void setMaxLength(int number, int length);
    bool vacio(int number) const;
    double Vale(int number) const;
    QString label(int number) const;

    // --- Fields.
    QString field(Field f) const;
    // Sets a field; the exercise runs its change handling (identification.cpp).
    void setField(Field f, const QString &text);

    // --- Answers and the reorganization type.
    QString answer(Answer a) const;
    // Chooses "No" (0) or "Si" (1) with the answer's effects.
    void chooseAnswer(Answer a, int index);
    // Stores a code without effects (the loader; pCargaIdent applies it).
    void storeAnswerCode(Answer a, const QString &code);
    QString tipoReorg() const { return tipoReorg_; }
    // The reorganization-type list: entries and the selected one (-1 none).
    const QStringList &reorgTypes() const { return reorgTypes_; }
    int reorgSelection() const { return reorgSelection_; }
    void chooseReorgType(int index);
    bool reorgListEnabled() const { return reorgListEnabled_; }

    // --- The taxpayer (new declaration: from the list; otherwise the read-only RUC field).
    QString taxpayerRuc() const;
    QString taxpayerListText() const { return taxpayerListText_; }
    QString rucField() const { return rucField_; }
    void setRucField(const QString &ruc) { rucField_ = ruc; }
    QStringList taxpayerEntries() const { return taxpayerEntries_; }

    // --- Pages, labels, flags.
    bool pageEnabled(int page) const { return pages_[static_cast<size_t>(page)]; }
    void setPageEnabled(int page, bool enabled);
    QString fechaCaption() const { return fechaCaption_; }
    QString cantidadCaption() const { return cantidadCaption_; }
    QString reorgQuestion() const { return reorgQuestion_; }
    bool ajusteEnabled() const { return ajusteEnabled_; }
    bool bCargando = false;
    bool AlgunCambio = false;
    int pageMemory = 0;
    QString existeDeclaracion; // "S", "N" or empty
    QString raw160;
    QString mtoDet; // box-110 assistant amounts
    QString mtoNet;
    // The selected entry of the representative's document-type list (the window keeps it
    // current): "06" starts the entry of a RUC.
    QString representativeType;

    PaymentState &payment() { return payment_; }
    const PaymentState &payment() const { return payment_; }
    void setPaymentType(const QString &type);
    void setPaymentAmount(const QString &amount);

    Database &db() { return db_; }
    Messenger &messenger() { return messenger_; }

    // --- The chain (calculations.cpp).
    void Calcular105(const QString &sCasilla);
    void Calcular108();
    void Calcular109();
    void Calcular111_new();
    void Calcular113();
    void Calcular114();
    void Calcular139();
    void Calcular161();
    void Calcular146();
    void DetBaseImp_Cero();
    // The scale value for the exercise in sPeriodoActual: selector "1" the threshold, any
    // other the rate. 0 without a scale row in force.
    Currency EscalaOkre(const QString &selector);
    // The rules after a change of box 139 and of box 180.
    void paymentModalityRule();
    void paymentRule();

    // --- Identification and options (identification.cpp).
    // The taxpayer-list statement for the current user.
    QString SqlContribuyentes();
    void loadTaxpayerList();
    void loadReorgTypes();
    // The accountants' zone list: an entry of 115 blanks, then per PARAM '030' row the name
    // (15 characters), 100 blanks and the code at the end, out of sight.
    QStringList zoneEntries();
    // False when the adjustment-factor row PARAM '975' '200212' is missing: then no new
    // declaration can be entered.
    bool hasAdjustmentFactor();
    // Choosing a taxpayer list entry.
    void chooseTaxpayer(int index);
    // pCargaIdent for an existing declaration: RUC, name and period of the chosen row.
    void pCargaIdent(const QString &ruc, const QString &razon, const QString &periodo);
    // The existence test in CAB; true when a header exists.
    bool headerExists(const QString &ruc);

    // --- Loader (loader.cpp).
    bool CargaDeclaracion();
    void CargaCasilla(const QString &casilla, const QString &valor);
    void CoefIni();

    // --- Companies of a reorganization (companies.cpp).
    // Copies the stored companies into TMPF731EMPRESAS and puts their tax total in box 115.
    void loadCompanies();
    // The rows of the companies list.
    QueryResult companyRows();
    QString totalBase;     // TxtBase
    QString totalImpuesto; // TxtPercepcion

    // Leaving without saving: deletes the provisional header the box-105 assistant makes
    // (cNumero "0") and the detail of the declaration, when such a header exists.
    void limpiaProvisional();

    // --- Entry checks (entrychecks.cpp).
    void pTemCasillas(int index, int indexSgt);

signals:
    void boxChanged(int number);
    void fieldChanged(qz::Field field);
    void answerChanged(qz::Answer answer);
    void reorgListChanged();
    void pagesChanged();
    void labelsChanged();
    void paymentChanged();
    void taxpayersChanged();
    void pageRequested(int page);
    void focusRequested(qz::FocusTarget target);
    // The status bar: all four fields, or the period alone.
    void statusRequested(const QString &ruc, const QString &name, const QString &period,
                         const QString &form);
    void periodShown(const QString &period);
    // pCargaIdent is done: the window selects the zone and document-type entries of boxes
    // 209 and 225.
    void identificationLoaded();
    void companiesChanged();

private:
    void onBoxChanged(int number);
    void onExerciseChanged();
    void onFechaChanged();
    void setRazon(const QString &razon);
    void applyAnswerEffects(Answer a);
    void entryChecks(int number);
    void markChanged();
    void setLabels(const QString &exercise);
    QString rucOfListText() const;
    void show(MessageIcon icon, const QString &text);
    BoxState &state(int number);

    Database &db_;
    Messenger &messenger_;
    QString sPeriodo_;
    TextUtility textUtility_;
    std::map<int, BoxState> boxes_;
    std::map<int, QString> labels_;
    std::map<Field, QString> fields_;
    std::map<Answer, QString> answers_;
    QString tipoReorg_;
    QStringList reorgTypes_;
    int reorgSelection_ = -1;
    bool reorgListEnabled_ = false;
    QString taxpayerListText_;
    QString rucField_;
    QStringList taxpayerEntries_;
    std::array<bool, 5> pages_ = {true, false, true, true, true};
    QString fechaCaption_;
    QString cantidadCaption_;
    QString reorgQuestion_;
    bool ajusteEnabled_ = true;
    PaymentState payment_;
};

} // namespace qz
