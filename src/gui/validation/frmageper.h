// FrmAgePer: the modal dialog for one company of a reorganization ("Detalle de Sociedades"),
// opened from the companies list of the declaration window. The fields, their rules and the
// store live in CompanyForm; the dialog adds the widgets, key filtering, Enter as Tab, paste
// blocking, focus formats and the message boxes (title = the dialog's caption).
#pragma once

#include "core/data/database.h"
#include "core/data/messenger.h"
#include "core/validation/companyform.h"

#include <QDialog>

#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qz {

class FrmAgePer final : public QDialog {
    Q_OBJECT
public:
    FrmAgePer(Database &db, Messenger &messenger, const CompanyFormContext &context,
              QWidget *parent = nullptr);

    // The dialog's load and activation: read-only mode, the RUC field by mode (mode "1" fills
    // every field from the selected company), the percentage's visibility and the net-assets
    // label. Errors are shown (title "Error"); the dialog can still be shown.
    void load();

    // True once "&Aceptar" (directly or through "&Salir") has stored the company.
    bool stored() const { return stored_; }

    CompanyForm &form() { return form_; }
    QLineEdit *edit(CompanyField field) const { return edits_[static_cast<size_t>(field)]; }
    QLabel *netAssetsLabel() const { return lblActivos_; }
    QLabel *percentageLabel() const { return lblPorcentaje_; }
    QPushButton *aceptarButton() const { return aceptar_; }
    QPushButton *salirButton() const { return salir_; }

    // Escape and the frame's close box leave as "&Salir" does, with its question.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *addEdit(CompanyField field, const char *name);
    void textEdited(CompanyField field, const QString &text);
    bool keyPressed(CompanyField field, QLineEdit *edit, const QKeyEvent *key);
    void refresh();
    void showRefusal(const CompanyRefusal &refusal);
    void showRefusals(const std::vector<CompanyRefusal> &refusals);
    void showDbError(const DbError &e);
    void desActiva();
    bool aceptar();
    void salir();

    Messenger &messenger_;
    CompanyForm form_;
    std::array<QLineEdit *, kCompanyFieldCount> edits_{};
    QLabel *lblActivos_ = nullptr;
    QLabel *lblPorcentaje_ = nullptr;
    QPushButton *aceptar_ = nullptr;
    QPushButton *salir_ = nullptr;
    int syncing_ = 0; // > 0 while the dialog writes the form's texts into the fields
    bool stored_ = false;
};

// Opens FrmAgePer modally for the context (mode "0" a new company, "1" the selected one) and
// returns true when a company was stored in TMPF731EMPRESAS; the caller then reloads the list.
bool openFrmAgePer(QWidget *parent, Database &db, Messenger &m, const CompanyFormContext &ctx);

} // namespace qz
