// The logic of the company dialog FrmAgePer, without widgets: the eight fields of one company
// of a reorganization, their limits and formats while edited, the tax base and tax that follow
// from them (Calcular_Base, Calcular_Imp), the checks of the company RUC while it is typed and
// of "&Aceptar", and the store into the scratch table TMPF731EMPRESAS.
//
// The dialog feeds every typed key, focus change and text change in here and shows what comes
// back: texts, limits, visibility, and refusals (a message and the field to focus). Refusals
// are shown with the critical icon and the dialog's caption as title.
#pragma once

#include "core/components/textutility.h"
#include "core/data/currency.h"
#include "core/data/database.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace qz {

// The dialog's fields in tab order.
enum class CompanyField { Ruc, Razon, Activos, Porcentaje, Adiciones, Deducciones, Base, Impuesto };
inline constexpr int kCompanyFieldCount = 8;

// What the declaration window passes to the dialog.
struct CompanyFormContext {
    QString mode = QStringLiteral("0"); // "0" a new company, "1" modify the selected one
    QString declarantRuc;               // trimmed
    QString exercise;                   // the trimmed exercise field, e.g. "2009"
    QString reorgType;                  // the reorganization type chosen, e.g. "3"
    QString selectedRuc;                // mode "1": the RUC of the selected list row
    bool readOnly = false;              // a sent declaration: nothing can be changed
};

// A refused entry: the message and where the focus goes.
struct CompanyRefusal {
    QString message;
    CompanyField focus = CompanyField::Ruc;
    // The focus moves only when the field is enabled.
    bool onlyWhenEnabled = false;
};

class CompanyForm final {
public:
    static constexpr const char *kCaption = "Detalle de Sociedades";

    CompanyForm(Database &db, CompanyFormContext context);

    const CompanyFormContext &context() const { return context_; }
    bool modifyMode() const { return context_.mode == u"1"; }

    // The dialog's load. Reads the tax scale of the exercise; in mode "1" puts the selected
    // RUC into the RUC field, which fills the other fields from its row. Clears the modified
    // flag. Returns the refusals of the RUC checks that this RUC runs. Throws DbError.
    std::vector<CompanyRefusal> load();

    // The label of the net-assets field: "Activos Netos ajustados al 31/12/" before 2006, else
    // "Activos Netos al 31/12/", then the year before the exercise and " transferidos por la
    // escisión :" for types "3" and "4", " :" for the others. Throws DbError(13, "Type
    // mismatch") when the exercise is not a number, as the host does on activation.
    QString netAssetsLabel() const;
    // The percentage field and its label are shown for the spin-off types "3" and "4" only.
    bool percentageVisible() const;
    // DesActiva: every field disabled and "&Aceptar" hidden.
    bool readOnly() const { return context_.readOnly; }
    // Whether the field takes input: none in read-only mode, the RUC not in mode "1".
    bool enabled(CompanyField field) const;
    // The tax base and tax are computed, never typed.
    static bool computed(CompanyField field);

    QString text(CompanyField field) const;
    // The current maximum length of a field (the amounts change it as they gain and lose the
    // focus; the percentage by whether it holds a decimal point).
    int maxLength(CompanyField field) const;

    // A changed text of a field and its change handling: the amounts and the percentage run
    // Calcular_Base and Calcular_Imp; the RUC copies the selected row (mode "1") and runs its
    // checks when it has 11 characters, returning the refusals. The same text does nothing.
    // Throws DbError.
    std::vector<CompanyRefusal> setText(CompanyField field, const QString &text);

    // Focus formats: entering an amount gives it limit 12 and "###########0", leaving it limit
    // 15 and "###,###,###,##0"; the percentage takes limit 6 and "##0.#0" on entering and
    // "##0.#0" on leaving. Other fields are left as they are. Throws DbError (the change
    // handling of the new text).
    void enter(CompanyField field);
    void leave(CompanyField field);

    // A key typed in a field whose text is currentText with selected characters selected:
    // returns the character code to insert (the name's filter turns letters to capitals), or
    // 0 to drop the key. Backspace (8) and Enter (13) come back as they are; the caller moves
    // the focus on Enter. Every key sets the modified flag. The field's limit refuses a
    // character that would make the text longer than it.
    int filterKey(CompanyField field, int code, const QString &currentText, int selected);

    bool modified() const { return modified_; }
    // "&Salir" asks whether to keep the changes: outside read-only mode, after a typed key.
    bool asksBeforeLeaving() const { return !readOnly() && modified_; }

    // "&Aceptar": the checks in order; the first failing one comes back as the refusal.
    // Otherwise the company is stored in TMPF731EMPRESAS (a new row in mode "0", the
    // selected row in mode "1") and nullopt returned: the dialog then closes. Throws DbError.
    std::optional<CompanyRefusal> accept();

    // The tax base from net assets, additions and deductions: empty when all three are empty,
    // else A + B - D (never below 0) as "###,###,###,##0".
    void Calcular_Base();
    // The tax from the tax base: empty with an empty base; (base - threshold) x rate above the
    // exercise's threshold, times percentage / 100 for type "3"; 0 otherwise. Throws DbError.
    void Calcular_Imp();

private:
    QString &field(CompanyField f) { return texts_[static_cast<size_t>(f)]; }
    int &limit(CompanyField f) { return limits_[static_cast<size_t>(f)]; }
    void assign(CompanyField f, const QString &text);
    void onChanged(CompanyField f);
    void copySelectedRow();
    bool rucExists(const QString &ruc);
    std::vector<CompanyRefusal> rucChecks();
    void fillRow(Record &row) const;

    Database &db_;
    CompanyFormContext context_;
    TextUtility textUtility_;
    std::array<QString, kCompanyFieldCount> texts_;
    std::array<int, kCompanyFieldCount> limits_{};
    std::optional<Currency> threshold_;
    std::optional<Currency> rate_;
    bool modified_ = false;
};

} // namespace qz
