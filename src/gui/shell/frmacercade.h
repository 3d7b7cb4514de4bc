// frmAcercade: the about box, centred on the main window: the product family "Velquira", the
// tax "Vexilar", "Versión 1.3", a picture, the update line and "&Aceptar".
#pragma once

#include <QDialog>

class QLabel;

namespace qz {

class FrmAcercade final : public QDialog {
    Q_OBJECT
public:
    // actualizado: the update line ("Actualizado al " and the date, see versioninfo.h).
    FrmAcercade(const QString &actualizado, QWidget *mainWindow);

    QLabel *updateLine() const { return update_; }

private:
    QLabel *update_ = nullptr;
};

} // namespace qz
