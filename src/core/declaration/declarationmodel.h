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
#include "core/declaration/storedversion.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>
#include <vector>

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

// How the window was opened: the command's mode, the host user, and for a sent declaration its
// sending number and control number.
struct DeclarationRun {
    int iModo = 0; // 0 new declaration, 1 existing one
    QString sUsuario;
    bool bHistorico = false;
    QString sCorrel;
    QString sNumControl;
};

// The declaration to open: for an existing one its taxpayer, name and exercise; for a sent
// one also its order number ("0" or empty when none). Empty for a new declaration.
struct OpenRequest {
    QString ruc;
    QString razon;
    QString periodo;
    QString numOrden;
};

// One company of the scratch list TMPF731EMPRESAS: its columns by name, a null as nothing.
using CompanyRow = std::map<QString, std::optional<QString>>;

struct DeclarationDraft;

class DeclarationModel final : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kCaption = "731 Vexilar";
    // The use column of PARAM '044' for the legal representative's document types.
    static constexpr int kRepresentativeTypeColumn = 82;

    DeclarationModel(Database &db, Messenger &messenger, QObject *parent = nullptr);

    // --- How the declaration was opened (given before open()).
    void setRun(const DeclarationRun &run);
    int iModo() const { return run_.iModo; } // 0 new declaration, 1 existing one
    bool bHistorico() const { return run_.bHistorico; }
    const QString &sCorrel() const { return run_.sCorrel; }
    const QString &sNumControl() const { return run_.sNumControl; }
    const QString &sUsuario() const { return run_.sUsuario; }
    const QString &sFormulario() const { return sFormulario_; }
    // The taxpayer of a sent declaration, or of a new one once chosen.
    const QString &sRuc() const { return sRuc_; }

    // The load of the window, in its fixed order: the lists, the identification (the taxpayer
    // list of a new declaration; the stored declaration of an existing one), the order number
    // of a sent one, its read-only boxes, the companies and the box-110 ratio amounts. Ends
    // with nothing marked as changed.
    void open(const OpenRequest &request = {});

    // The program-wide period of the status bar, written by Calcular114 and the exercise.
    const QString &sPeriodoActual() const { return sPeriodoActual_; }
    void setSPeriodoActual(const QString &period) { sPeriodoActual_ = period; }
    // The exercise of the declaration on the window, the key of every query.
    QString sPeriodo() const { return sPeriodo_; }
    void setSPeriodo(const QString &periodo) { sPeriodo_ = periodo; }

    // --- Loading and change flags.
    bool bCargando() const { return bCargando_; }
    void setLoading(bool loading) { bCargando_ = loading; }
    // AlgunCambio: something was typed or chosen since the load or the last save.
    bool algunCambio() const { return algunCambio_; }
    // Marks the declaration changed (not while it loads).
    void markChanged();
    void clearChanged() { algunCambio_ = false; }
    // The stored version of the declaration as this window last read or wrote it (open() of a
    // stored declaration, a save); none for a new declaration not yet saved.
    const std::optional<LoadedVersion> &loadedVersion() const { return loadedVersion_; }
    void setLoadedVersion(std::optional<LoadedVersion> version)
    {
        loadedVersion_ = std::move(version);
    }
    // The page last entered.
    int pageMemory() const { return pageMemory_; }
    void setPageMemory(int page) { pageMemory_ = page; }
    // "S" when a new declaration may be saved for the taxpayer and exercise, "N" when one
    // already exists, empty before the choice.
    const QString &existeDeclaracion() const { return existeDeclaracion_; }
    // After a save: the new declaration now has its header, and leaving must not remove it.
    void markSaved() { existeDeclaracion_ = QStringLiteral("S"); }

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
    // Sets a field; the exercise runs its change handling at once (identification.cpp).
    void setField(Field f, const QString &text);
    // A field as the user types it: as setField, except that the exercise's change handling
    // waits for leaveExercise. Typing over "1800" passes through "2800": a check on every
    // keystroke would refuse a year the user never meant and swallow the keys after it.
    void editField(Field f, const QString &text);
    // The exercise field was left (or Enter pressed): its change handling runs once for the
    // text it holds, when it was typed since.
    void leaveExercise();

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

    // --- The box-110 assistant's amounts (F731PORCENTAJE), read by CoefIni.
    // Box 160 as the loader read it (applied once the answers are).
    const QString &raw160() const { return raw160_; }
    const QString &mtoDet() const { return mtoDet_; }
    const QString &mtoNet() const { return mtoNet_; }
    void setRatioAmounts(const QString &mtoDet, const QString &mtoNet);

    // --- The representative's document type (box 225) and the accountants' zone (box 209).
    // The entries of the document-type list (PARAM '044', use column 82, a blank first).
    const QStringList &representativeTypes() const { return representativeTypes_; }
    // The chosen entry: "06" starts the entry of a RUC, "01" a DNI of 8 digits.
    const QString &representativeType() const { return representativeType_; }
    int representativeTypeIndex() const { return representativeTypeIndex_; }
    // Choosing an entry: box 225 takes its code, box 226 its number length.
    void chooseRepresentativeType(int index);
    // The length of the representative's document number for the chosen type; 0 when none.
    int documentLength() const;
    // The accountants' zone list (see zoneEntries) and the entry of box 209's code, -1 when
    // no entry matches.
    const QStringList &zones() const { return zones_; }
    // What the zone list shows of an entry: the code, then the name ("01  -  LIMA"), so that
    // the codes stand in one column; the blank entry shows nothing.
    static QString shownZone(const QString &entry);
    int zoneIndex() const;
    void chooseZone(int index);

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
    // The companies' totals: TxtBase, TxtPercepcion, and box 115 with the tax total.
    const QString &totalBase() const { return totalBase_; }
    const QString &totalImpuesto() const { return totalImpuesto_; }
    void setCompanyTotals(const QString &base, const QString &impuesto, const QString &box115);

    // The scratch list's companies, each column of the list by name. Throws DbError.
    std::vector<CompanyRow> scratchCompanies();

    // --- Drafts (draftrestore.cpp).
    // Puts a draft of this declaration back as the user left it: the fields, the answers with
    // their effects, the reorganization type, the companies, the boxes in the box list's order
    // (each running its change handling, so the chain recalculates as it did when typed) and
    // the payment data. Ends marked as changed: the restored work is not saved.
    void restoreDraft(const DeclarationDraft &draft);

    // Leaving without saving: deletes the provisional header the box-105 assistant makes
    // (cNumero "0") and the detail of the declaration, when such a header exists.
    void limpiaProvisional();

    // --- Entry checks (entrychecks.cpp).
    void pTemCasillas(int index, int indexSgt);

signals:
    // Something was typed or chosen (markChanged outside loading).
    void changed();
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
    // The zone and document-type lists were read (open()).
    void listsLoaded();
    // pCargaIdent is done: the window selects the zone and document-type entries of boxes
    // 209 and 225 (zoneIndex, representativeTypeIndex).
    void identificationLoaded();
    void companiesChanged();

private:
    void onBoxChanged(int number);
    void onExerciseChanged();
    void onFechaChanged();
    void setRazon(const QString &razon);
    void applyAnswerEffects(Answer a);
    void entryChecks(int number);
    void setLabels(const QString &exercise);
    QString rucOfListText() const;
    void show(MessageIcon icon, const QString &text);
    BoxState &state(int number);

    void selectRepresentativeType();
    void lockForSentView();
    void replaceScratchCompanies(const std::vector<CompanyRow> &rows);
    void showCompanyTotals();

    Database &db_;
    Messenger &messenger_;
    DeclarationRun run_;
    QString sFormulario_ = QStringLiteral("0731");
    QString sRuc_;
    QString sPeriodoActual_;
    bool bCargando_ = false;
    bool exercisePending_ = false; // the exercise was typed and not yet left
    bool algunCambio_ = false;
    std::optional<LoadedVersion> loadedVersion_;
    int pageMemory_ = 0;
    QString existeDeclaracion_;
    QString raw160_; // box 160 as stored, applied once the answers are
    QString mtoDet_;
    QString mtoNet_;
    QStringList representativeTypes_;
    QString representativeType_;
    int representativeTypeIndex_ = -1;
    QStringList zones_;
    QString totalBase_;
    QString totalImpuesto_;
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
