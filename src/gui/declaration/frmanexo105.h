// FrmAnexo105: the box-105 assistant window. Eleven deduction amounts with their legal
// references, the grey total and "&Aceptar" / "&Cancelar", bound to an Anexo105; the window
// adds the key filter, Enter as Tab, the editing formats, paste blocking and the messages.
// "&Aceptar" stores the amounts at once; a sent declaration is shown read-only without it.
#pragma once

#include "core/data/database.h"
#include "core/data/messenger.h"
#include "core/declaration/anexo105.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace qz {

class BoxEdit;

class FrmAnexo105 final : public QDialog {
    Q_OBJECT
public:
    static constexpr const char *kCaption = "Asistente de Cálculo de Casilla 105";

    FrmAnexo105(Database &db, Messenger &messenger, QWidget *parent = nullptr);

    // Set by the caller before load().
    QString sRuc;
    int iAccion = 0; // 0 new declaration, 1 existing one
    bool bHistorico = false;
    QString sCorrel;
    QString periodo; // the status bar's period
    QString formulario = QStringLiteral("0731");
    // The accepted total; 0 until "&Aceptar" has stored the amounts.
    double dTotal = 0;

    // The opening: the stored amounts into the fields; a sent declaration read-only and
    // without "&Aceptar". Shows a database error and returns false when the rows cannot be read.
    bool load();

    BoxEdit *amountEdit(int field) const { return amounts_.at(static_cast<size_t>(field)); }
    QLineEdit *totalEdit() const { return total_; }
    QPushButton *aceptarButton() const { return aceptar_; }
    QPushButton *cancelarButton() const { return cancelar_; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void amountChanged(int field);
    void focusIn(int field);
    void focusOut(int field);
    void onAceptar();
    void onCancelar();
    void showError(const QString &text);

    Database &db_;
    Messenger &messenger_;
    Anexo105 anexo_;
    std::array<BoxEdit *, Anexo105::kFields> amounts_{};
    QLineEdit *total_ = nullptr;
    QPushButton *aceptar_ = nullptr;
    QPushButton *cancelar_ = nullptr;
    bool activated_ = false;
    bool loading_ = false;
};

// Opens the box-105 assistant modally for a declaration and returns its dTotal (0 when it was
// cancelled or could not open). A database error of "&Aceptar" is shown and the window stays.
double openFrmAnexo105(QWidget *parent, Database &db, Messenger &m, const QString &ruc, int iAccion,
                       bool bHistorico, const QString &sCorrel, const QString &periodo,
                       const QString &formulario);

} // namespace qz
