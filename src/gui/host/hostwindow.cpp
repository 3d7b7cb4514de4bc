// The host window: widgets over hostsession's logic.
#include "gui/host/hostwindow.h"

#include "core/data/database.h"
#include "core/data/dberror.h"
#include "core/data/messenger.h"
#include "core/host/sending.h"
#include "core/management/declarationlists.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qz {

namespace {

const QString kTitle = QStringLiteral("Velquira");

QLabel *valueLabel(const char *objectName)
{
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A server's connection string can be long: it wraps at its blanks instead of widening
    // the window past the screen.
    label->setWordWrap(true);
    return label;
}

QString shownPath(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("(sin definir)") : QDir::toNativeSeparators(path);
}

QString stateText(const Value &estado)
{
    return estado.toInt() == 0 ? QStringLiteral("0 - Consistente")
                               : estado.toText() + QStringLiteral(" - Con inconsistencias");
}

// The columns of the declarations list and where they come from in the module's list.
struct ListColumn {
    const char *heading;
    int column;
};
constexpr ListColumn kListColumns[] = {
    {"RUC", registeredcol::kRuc},
    {"Razón Social", registeredcol::kNombre},
    {"Ejercicio", registeredcol::kPeriodo},
    {"Estado", registeredcol::kEstado},
};

} // namespace

HostWindow::HostWindow(Messenger &messenger, QString programDir, QWidget *parent)
    : QMainWindow(parent), messenger_(messenger), programDir_(std::move(programDir)),
      iniFile_(valueLabel("iniFile")), sysPath_(valueLabel("sysPath")),
      database_(valueLabel("database")), user_(new QComboBox), start_(new QPushButton),
      status_(valueLabel("status")), declarations_(new QTableWidget),
      send_(new QPushButton(QStringLiteral("Enviar"))), module_(new ModuleProcess(this))
{
    // Exactly this title: the form module compares it byte for byte.
    setWindowTitle(kTitle);

    user_->setObjectName(QStringLiteral("user"));
    user_->setPlaceholderText(QStringLiteral("(ninguno)"));
    start_->setObjectName(QStringLiteral("start0731"));
    start_->setText(QStringLiteral("Iniciar 0731"));
    status_->setWordWrap(true);
    declarations_->setObjectName(QStringLiteral("declarations"));
    declarations_->setColumnCount(static_cast<int>(std::size(kListColumns)));
    QStringList headings;
    for (const ListColumn &c : kListColumns) {
        headings << QString::fromUtf8(c.heading);
    }
    declarations_->setHorizontalHeaderLabels(headings);
    declarations_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab leaves the list for "Enviar" instead of walking its cells (a row is the unit here).
    declarations_->setTabKeyNavigation(false);
    declarations_->setSelectionMode(QAbstractItemView::SingleSelection);
    declarations_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    declarations_->verticalHeader()->hide();
    declarations_->horizontalHeader()->setStretchLastSection(true);
    send_->setObjectName(QStringLiteral("send"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Configuración:"), iniFile_);
    form->addRow(QStringLiteral("Carpeta del sistema:"), sysPath_);
    form->addRow(QStringLiteral("Base de datos:"), database_);
    form->addRow(QStringLiteral("Usuario:"), user_);

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addLayout(form);
    layout->addWidget(start_, 0, Qt::AlignLeft);
    layout->addWidget(status_);
    layout->addWidget(new QLabel(QStringLiteral("Declaraciones grabadas del formulario 0731:")));
    layout->addWidget(declarations_, 1);
    layout->addWidget(send_, 0, Qt::AlignLeft);
    setCentralWidget(central);
    resize(640, 460);

    connect(start_, &QPushButton::clicked, this, [this] { start0731(); });
    connect(send_, &QPushButton::clicked, this, [this] { sendSelected(); });
    connect(user_, &QComboBox::currentIndexChanged, this, &HostWindow::userChosen);
    connect(module_, &ModuleProcess::finished, this, &HostWindow::moduleEnded);
    reload();
}

void HostWindow::reload()
{
    installation_ = readHostInstallation();
    iniFile_->setText(shownPath(installation_.iniFile));
    sysPath_->setText(shownPath(installation_.sysPath));
    database_->setText(shownPath(databaseLocation(installation_)));

    const QSignalBlocker blocker(user_);
    user_->clear();
    status_->clear();
    if (installation_.database.isEmpty() && installation_.server.isEmpty()) {
        status_->setText(QStringLiteral("No hay instalación: ejecute \"velquira --init DIR\"."));
        return;
    }
    try {
        Database db = openHostDatabase(installation_);
        user_->addItems(hostUsers(db));
    } catch (const DbError &e) {
        status_->setText(QStringLiteral("No se pudo leer los usuarios: error %1: %2")
                             .arg(e.number())
                             .arg(e.description()));
    }
    user_->setCurrentIndex(user_->findText(installation_.user, Qt::MatchFixedString));
    refreshDeclarations();
}

void HostWindow::refreshDeclarations()
{
    declarations_->setRowCount(0);
    if (installation_.database.isEmpty() && installation_.server.isEmpty()) {
        return;
    }
    try {
        Database db = openHostDatabase(installation_);
        const QueryResult rows = savedDeclarations(db, installation_.user);
        declarations_->setRowCount(rows.rowCount());
        for (int r = 0; r < rows.rowCount(); ++r) {
            for (int c = 0; c < declarations_->columnCount(); ++c) {
                const Value &v = rows.at(r, kListColumns[c].column);
                const bool state = kListColumns[c].column == registeredcol::kEstado;
                declarations_->setItem(
                    r, c, new QTableWidgetItem(state ? stateText(v) : v.toText().trimmed()));
            }
        }
        declarations_->resizeColumnsToContents();
    } catch (const DbError &e) {
        status_->setText(QStringLiteral("No se pudo leer las declaraciones: error %1: %2")
                             .arg(e.number())
                             .arg(e.description()));
    }
}

bool HostWindow::sendSelected()
{
    const int row = declarations_->currentRow();
    if (row < 0 || !declarations_->item(row, 0)) {
        messenger_.show(MessageIcon::Exclamation, kTitle,
                        QStringLiteral("Seleccione la declaración que desea enviar."));
        return false;
    }
    const QString ruc = declarations_->item(row, 0)->text();
    const QString exercise = declarations_->item(row, 2)->text();
    SendResult result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        Database db = openHostDatabase(installation_);
        DeclarationSender sender(db, installation_.sysPath, programDir_);
        result = sender.send(ruc, exercise);
    } catch (const DbError &e) {
        result.message = QStringLiteral("No se pudo abrir la base de datos: error %1: %2")
                             .arg(e.number())
                             .arg(e.description());
    }
    QApplication::restoreOverrideCursor();
    status_->setText(result.message.section(u'\n', 0, 0));
    switch (result.status) {
    case SendStatus::Refused:
        messenger_.show(MessageIcon::Critical, kTitle,
                        result.listing.isEmpty()
                            ? result.message
                            : result.message + QStringLiteral("\n\n") + result.listing);
        break;
    case SendStatus::Failed:
        messenger_.show(MessageIcon::Critical, kTitle, result.message);
        break;
    case SendStatus::Sent:
        messenger_.show(MessageIcon::Information, QStringLiteral("Resumen de Declaración Generada"),
                        result.summary);
        messenger_.show(MessageIcon::Information, QStringLiteral("Constancia de recepción"),
                        result.message + QStringLiteral("\n\n") + receiptText(result));
        break;
    }
    refreshDeclarations();
    return result.status == SendStatus::Sent;
}

void HostWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Back from declmod (or anything else): what it saved shows at once.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        refreshDeclarations();
    }
}

bool HostWindow::start0731()
{
    const StartResult result = module_->start(programDir_, installation_.sysPath);
    if (!result.ok) {
        messenger_.show(MessageIcon::Critical, kTitle, result.message);
        return false;
    }
    start_->setEnabled(false);
    status_->setText(QStringLiteral("Módulo 0731 iniciado."));
    return true;
}

void HostWindow::moduleEnded(int exitCode, bool crashed)
{
    start_->setEnabled(true);
    status_->setText(moduleEndedText(exitCode, crashed));
}

void HostWindow::userChosen(int index)
{
    if (index < 0) {
        return;
    }
    const QString user = user_->itemText(index);
    QString error;
    if (!setHostUser(user, &error)) {
        messenger_.show(MessageIcon::Critical, kTitle, error);
        reload();
        return;
    }
    installation_.user = user;
    status_->setText(QStringLiteral("Usuario actual: %1").arg(user));
    refreshDeclarations();
}

} // namespace qz
