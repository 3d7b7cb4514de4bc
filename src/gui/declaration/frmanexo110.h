// FrmAnexo110: the box-110 assistant window. The two income amounts and their grey ratio,
// "&Aceptar" / "&Cancelar", bound to an Anexo110; the window adds the key filter, Enter as
// Tab, the editing format and paste blocking. It writes nothing to the database.
#pragma once

#include "core/data/messenger.h"
#include "core/declaration/anexo110.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace qz {

class FrmAnexo110 final : public QDialog {
    Q_OBJECT
public:
    static constexpr const char *kCaption = "Asistente de Cálculo de Casilla 110";

    explicit FrmAnexo110(QWidget *parent = nullptr);

    // The opening from the text of box 110 and the two shared assistant amounts.
    void load(const QString &box110Text, const QString &mtoDet, const QString &mtoNet);

    // dTotal: box 110 as it was at opening, or the accepted ratio.
    double dTotal() const { return anexo_.total(); }
    // The amounts to hand back to the declaration window after "&Aceptar".
    QString mtoDet() const { return mtoDet_; }
    QString mtoNet() const { return mtoNet_; }

    // Field 0 and 1 are the typed amounts, field 2 the ratio.
    QLineEdit *fieldEdit(int index) const { return fields_.at(static_cast<size_t>(index)); }
    QPushButton *aceptarButton() const { return aceptar_; }
    QPushButton *cancelarButton() const { return cancelar_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fieldChanged(int index);
    void reformat(int index);
    void onAceptar();

    Anexo110 anexo_;
    std::array<QLineEdit *, Anexo110::kFields> fields_{};
    QPushButton *aceptar_ = nullptr;
    QPushButton *cancelar_ = nullptr;
    QString mtoDet_;
    QString mtoNet_;
    bool loading_ = false;
};

// Opens the box-110 assistant modally and returns its dTotal. After "&Aceptar" mtoDet and
// mtoNet hold the two typed amounts; "&Cancelar" leaves them as they were. The assistant has
// no message of its own; the message service is taken so that both assistants open alike.
double openFrmAnexo110(QWidget *parent, Messenger &m, const QString &box110Text, QString &mtoDet,
                       QString &mtoNet);

} // namespace qz
