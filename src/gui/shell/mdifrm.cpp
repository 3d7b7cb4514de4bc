// The main window: building the menus and toolbar, the load, the commands and the exit.
#include "gui/shell/mdifrm.h"

#include "core/data/config.h"
#include "core/data/connection.h"
#include "core/shell/consultations.h"
#include "core/shell/helppages.h"
#include "core/shell/versioninfo.h"
#include "gui/declaration/frm731.h"
#include "gui/management/frmcontabrir.h"
#include "gui/management/frmcontabrirenv.h"
#include "gui/printing/frmtipprnr.h"
#include "gui/shell/emblem.h"
#include "gui/shell/frmacercade.h"
#include "gui/shell/frmconsultas.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/toolbaricons.h"
#include "gui/widgets/statusbar.h"
#include "gui/widgets/windowroutines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace qz {

namespace {

// The client area with the fixed background picture.
class BackgroundArea final : public QWidget {
public:
    explicit BackgroundArea(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picFondo"));
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (cache_.size() != size()) {
            cache_ = backgroundPixmap(size());
        }
        QPainter(this).drawPixmap(0, 0, cache_);
    }

private:
    QPixmap cache_;
};

} // namespace

MDIFrm::MDIFrm(RunState &state, Messenger &messenger)
    : state_(state), messenger_(messenger),
      openUrl_([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("MDIFrm"));
    setWindowTitle(QStringLiteral("731 Vexilar - v 1.3"));
    // No minimize or maximize button in the frame.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildMenus();
    buildToolbar();
    background_ = new BackgroundArea(this);
    background_->installEventFilter(this);
    setCentralWidget(background_);
    status_ = new BarradeEstadoZEB(this);
    status_->setObjectName(QStringLiteral("BarradeEstadoZEB1"));
    setStatusBar(status_);
}

void MDIFrm::buildMenus()
{
    for (const Menu &menu : mainMenus()) {
        QMenu *m = menuBar()->addMenu(menu.caption);
        for (const MenuItem &item : menu.items) {
            if (item.isSeparator()) {
                m->addSeparator();
                continue;
            }
            QAction *a = m->addAction(item.caption);
            a->setObjectName(QStringLiteral("mnu%1").arg(static_cast<int>(item.command)));
            const Command command = item.command;
            connect(a, &QAction::triggered, this, [this, command] { run(command); });
            actions_[command] = a;
        }
    }
}

void MDIFrm::buildToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("tlbMenu"));
    toolbar_->setObjectName(QStringLiteral("tlbMenu"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setMouseTracking(true);
    toolbar_->installEventFilter(this);
    bool afterSeparator = false;
    for (const ToolButton &b : toolbarButtons()) {
        if (b.command == Command::None) {
            // The host's separators 8 and 9 stand side by side: one line is drawn for both.
            if (!afterSeparator) {
                toolbar_->addSeparator()->setData(b.index);
            }
            afterSeparator = true;
            continue;
        }
        afterSeparator = false;
        QAction *a = toolbar_->addAction(commandIcon(b.command), b.caption);
        a->setObjectName(QStringLiteral("tlbMenu_%1").arg(b.index));
        a->setToolTip(b.toolTip);
        a->setData(b.index);
        const int index = b.index;
        connect(a, &QAction::triggered, this, [this, index] { run(toolbarCommand(index)); });
        toolbarActions_[b.index] = a;
        if (QWidget *w = toolbar_->widgetForAction(a)) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
    }
}

QAction *MDIFrm::action(Command command) const
{
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QAction *MDIFrm::toolbarAction(int index) const
{
    const auto it = toolbarActions_.find(index);
    return it == toolbarActions_.end() ? nullptr : it->second;
}

bool MDIFrm::load()
{
    state_.sFormulario = QStringLiteral("0731");
    state_.sPeriodoActual.clear();
    placeWindow(*this, -60, -60, 7320, 9720);
    show();
    std::optional<WaitCursor> wait(std::in_place);
    // Put the window on the screen now, as the host shows a form before its load goes on.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    Config config;
    loadModuleConfig(config);
    state_.sSysPath = config.sysPath;
    state_.sBaseDatos = config.baseDatos;
    state_.sDirReportes = config.dirReportes;
    state_.sUsuario = config.usuario;
    std::optional<Database> db = openOrReport(config, Program::Declmod, messenger_);
    if (!db) {
        return false;
    }
    state_.db = std::move(*db);
    helpFile_ = helpFilePath(state_.sSysPath);
    publishStatus(*status_, QString(), QString(), state_.sPeriodoActual, state_.sFormulario);

    wait.reset();
    IniciaVersion(state_);
    state_.bRecuperar = false;
    return true;
}

void MDIFrm::run(Command command)
{
    switch (command) {
    case Command::Nueva:
        state_.iModo = 0;
        nuevaDeclaracion();
        break;
    case Command::Modificar:
        state_.iModo = 1;
        openRegisteredList(1);
        break;
    case Command::Eliminar:
        openRegisteredList(3); // iModo stays as the last command left it
        break;
    case Command::Imprimir:
        state_.bImprimeEnviada = false;
        openPrintList();
        break;
    case Command::RegistrarOrden:
        state_.iModo = 1;
        state_.bRegistraOrden = true; // for the rest of the run
        openSentList();
        break;
    case Command::EliminarEnviada:
        state_.iModo = 3;
        openSentList();
        break;
    case Command::Recuperar:
        // True only while the sent-declarations dialog is open in recovery mode.
        state_.iModo = 1;
        state_.bRecuperar = true;
        openSentList();
        state_.bRecuperar = false;
        break;
    case Command::ImprimirEnviada:
        state_.bImprimeEnviada = true;
        openPrintList();
        break;
    case Command::Bancos:
        consultar(kConsultaBancos);
        break;
    case Command::Uit:
        consultar(kConsultaUit);
        break;
    case Command::Contenido:
        MostrarHelp();
        break;
    case Command::Acerca:
        acercaDe();
        break;
    case Command::VerificarVersion:
        verificarVersion();
        break;
    case Command::Salir:
        salir();
        break;
    case Command::None:
        break;
    }
}

void MDIFrm::nuevaDeclaracion()
{
    clearMessage();
    const Frm731::Context context{state_.db,
                                  messenger_,
                                  status_,
                                  &state_.sPeriodoActual,
                                  state_.iModo,
                                  state_.sUsuario,
                                  state_.bRegistraOrden,
                                  state_.bRecuperar};
    Frm731 form(context, this);
    connect(&form, &Frm731::helpRequested, this, [this](int topic) { MostrarHelp(topic); });
    form.load();
    form.exec();
}

namespace {

// Runs a management list dialog: built and loaded under the hourglass, shown modally unless
// its list could not be read (the dialog has said so).
template <typename Dialog, typename... Args> void runListDialog(MDIFrm *window, Args &&...args)
{
    std::optional<Dialog> dialog;
    {
        const WaitCursor wait;
        dialog.emplace(std::forward<Args>(args)..., window);
        QObject::connect(&*dialog, &ManagementListDialog::helpRequested, window,
                         [window](int topic) { window->MostrarHelp(topic); });
        if (!dialog->load()) {
            return;
        }
    }
    dialog->exec();
}

} // namespace

void MDIFrm::openRegisteredList(int iOpcion)
{
    clearMessage();
    runListDialog<FrmContAbrir>(this, managementContext(), iOpcion);
}

void MDIFrm::openSentList()
{
    clearMessage();
    runListDialog<FrmContAbrirEnv>(this, managementContext());
}

void MDIFrm::openPrintList()
{
    clearMessage();
    runListDialog<FrmTipPrnR>(this, managementContext(), state_.bImprimeEnviada,
                              state_.sDirReportes);
}

ManagementContext MDIFrm::managementContext()
{
    return {state_.db,
            messenger_,
            state_.textUtility,
            status_,
            &state_.sPeriodoActual,
            state_.sFormulario,
            state_.sUsuario,
            state_.iModo,
            state_.bRegistraOrden,
            state_.bRecuperar};
}

void MDIFrm::consultar(int iModo)
{
    state_.iModo = iModo;
    FrmConsultas dialog(state_.db, iModo, messenger_, this);
    connect(&dialog, &FrmConsultas::helpRequested, this, [this](int topic) { MostrarHelp(topic); });
    dialog.exec();
}

void MDIFrm::acercaDe()
{
    std::optional<FrmAcercade> about;
    {
        const WaitCursor wait;
        about.emplace(actualizadoAl(state_.db), this);
    }
    about->exec();
}

void MDIFrm::verificarVersion()
{
    const QUrl url = versionCheckUrl(downloadHost(), state_.sVersion, state_.sFechaVersion);
    // Without a browser the user still gets the address to open elsewhere.
    if (!openUrl_(url)) {
        messenger_.show(MessageIcon::Information, QString::fromUtf8("Verificar Versión"),
                        QString::fromUtf8("No se pudo abrir el navegador. Para verificar si hay "
                                          "una versión más reciente, visite:\n\n") +
                            url.toString());
    }
}

void MDIFrm::MostrarHelp(int topic)
{
    clearMessage();
    // A page that cannot be written is shown from the pages built into the program.
    installHelpPages(state_.sSysPath);
    QString page = topic > 0 ? helpTopicPath(state_.sSysPath, topic) : helpFile_;
    if (page.isEmpty()) {
        page = helpFilePath(state_.sSysPath);
    }
    if (!QFile::exists(page)) {
        // Only the built-in viewer can show a page of the program's own resources.
        showHelpViewer(QUrl(QStringLiteral("qrc:/help/") + QFileInfo(page).fileName()));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(page);
    if (!openUrl_(url)) {
        showHelpViewer(url);
    }
}

void MDIFrm::showHelpViewer(const QUrl &page)
{
    // A fresh viewer each time, above whichever window asked for help.
    delete helpViewer_.data();
    QWidget *asking = QApplication::activeModalWidget();
    helpViewer_ = new HelpViewer(asking ? asking : this);
    helpViewer_->setAttribute(Qt::WA_DeleteOnClose);
    helpViewer_->showPage(page);
}

void MDIFrm::clearMessage()
{
    status_->setTaxpayerName(QString());
}

void MDIFrm::salir()
{
    state_.db.close();
    release();
    close();
}

void MDIFrm::release()
{
    if (released_) {
        return;
    }
    state_.db = Database();
    released_ = true;
}

void MDIFrm::closeEvent(QCloseEvent *event)
{
    release();
    event->accept();
    QApplication::quit();
}

bool MDIFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == background_) {
            clearMessage();
        } else if (watched == toolbar_ || watched->parent() == toolbar_) {
            const auto *move = static_cast<QMouseEvent *>(event);
            const QPoint at = toolbar_->mapFromGlobal(move->globalPosition().toPoint());
            const QAction *a = toolbar_->actionAt(at);
            const int index = a ? a->data().toInt() : 0;
            if (toolbarMoveClearsMessage(index)) {
                clearMessage();
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace qz
