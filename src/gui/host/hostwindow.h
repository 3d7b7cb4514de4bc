// The host's main window, titled "Velquira": the installation QZ000.INI points at, the
// current user (chosen among the CLAVES users), the button that starts the form module, and
// the user's saved declarations of form 0731 with the button "Enviar" that sends one.
// The form module looks for this window by its exact title before it starts.
#pragma once

#include "core/host/hostsession.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace qz {

class Messenger;

class HostWindow final : public QMainWindow {
    Q_OBJECT
public:
    // programDir is where declmod is looked for (velquira's own folder); failures are shown
    // through messenger. Reads the installation at once.
    HostWindow(Messenger &messenger, QString programDir, QWidget *parent = nullptr);

    // Reads QZ000.INI and the CLAVES users again and shows them.
    void reload();

    // What the button "Iniciar 0731" does: starts declmod in SysPath; a failure is shown as a
    // critical message box. Returns whether it started. While the module runs the button is
    // disabled (a second copy would refuse to start); when it ends the status line says so.
    bool start0731();

    // Reads the current user's saved declarations of form 0731 again (also done whenever the
    // window becomes active, e.g. after declmod saved one).
    void refreshDeclarations();

    // What "Enviar" does: sends the selected declaration (core/host/sending.h) and shows the
    // outcome: declchk's listing when it was refused, declrep's summary and the receipt when it
    // was sent, the reason otherwise. Returns whether it was sent.
    bool sendSelected();

protected:
    void changeEvent(QEvent *event) override;

private:
    void userChosen(int index);
    void moduleEnded(int exitCode, bool crashed);

    Messenger &messenger_;
    QString programDir_;
    HostInstallation installation_;
    QLabel *iniFile_;
    QLabel *sysPath_;
    QLabel *database_;
    QComboBox *user_;
    QPushButton *start_;
    QLabel *status_;
    QTableWidget *declarations_;
    QPushButton *send_;
    ModuleProcess *module_;
};

} // namespace qz
