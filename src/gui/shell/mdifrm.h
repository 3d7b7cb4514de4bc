// MDIFrm: declmod's main window. Menus and toolbar from mainmenu.h, the status bar
// BarradeEstadoZEB1, the fixed background picture, and one handler per command. Every
// dialog it opens is a fresh modal child, so one command runs at a time.
//
// "&Nueva" opens the declaration window for a new declaration; "&Modificar" and "&Eliminar"
// the registered-declarations list, the commands of the sent declarations their list (and from
// it the recovery). The print commands set their flags and open nothing yet.
#pragma once

#include "core/data/messenger.h"
#include "core/shell/mainmenu.h"
#include "core/shell/runstate.h"
#include "gui/management/managementcontext.h"
#include "gui/shell/helpviewer.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <map>

class QAction;
class QToolBar;

namespace qz {

class BarradeEstadoZEB;

class MDIFrm final : public QMainWindow {
    Q_OBJECT
public:
    MDIFrm(RunState &state, Messenger &messenger);

    // The load: form code and period, placement, frame buttons, show with the hourglass, the
    // configuration and the database, the help file, the status bar, IniciaVersion. False when
    // the database could not be opened (the message has been shown; the process then ends).
    bool load();

    // Runs a command as its menu item or toolbar button does.
    void run(Command command);

    // MostrarHelp: clears the message field and opens the help contents (or a topic page)
    // through the desktop; when the desktop cannot open it, in the built-in viewer.
    void MostrarHelp(int topic = 0);

    // The built-in help viewer while it is open; nullptr otherwise.
    HelpViewer *helpViewer() const { return helpViewer_; }

    BarradeEstadoZEB *statusBarControl() const { return status_; }
    QToolBar *toolbar() const { return toolbar_; }
    QAction *action(Command command) const;
    // The toolbar action of a button index; nullptr for separators and unknown indices.
    QAction *toolbarAction(int index) const;

    // How links and help pages are opened (the desktop by default; tests replace it). False
    // means the desktop could not open it.
    void setUrlOpener(std::function<bool(const QUrl &)> opener) { openUrl_ = std::move(opener); }

    // True once the exit has released the connection.
    bool released() const { return released_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void clearMessage();
    void salir();
    void release();
    void consultar(int iModo);
    void nuevaDeclaracion();
    // FrmContAbrir with iOpcion 1 (modify) or 3 (delete).
    void openRegisteredList(int iOpcion);
    // FrmContAbrirEnv in the mode and flags the command set.
    void openSentList();
    // The print dialog on the registered or, with bImprimeEnviada, the sent declarations.
    void openPrintList();
    ManagementContext managementContext();
    void acercaDe();
    void verificarVersion();
    void showHelpViewer(const QUrl &page);

    RunState &state_;
    Messenger &messenger_;
    BarradeEstadoZEB *status_ = nullptr;
    QToolBar *toolbar_ = nullptr;
    QWidget *background_ = nullptr;
    std::map<Command, QAction *> actions_;
    std::map<int, QAction *> toolbarActions_;
    std::function<bool(const QUrl &)> openUrl_;
    QPointer<HelpViewer> helpViewer_;
    QString helpFile_;
    bool released_ = false;
};

} // namespace qz
