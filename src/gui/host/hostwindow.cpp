// The host window: widgets over hostsession's logic.
#include "gui/host/hostwindow.h"

#include "core/data/dberror.h"
#include "core/data/messenger.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qz {

namespace {

const QString kTitle = QStringLiteral("Velquira");

QLabel *valueLabel(const char *objectName)
{
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString shownPath(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("(sin definir)") : QDir::toNativeSeparators(path);
}

} // namespace

HostWindow::HostWindow(Messenger &messenger, QString programDir, QWidget *parent)
    : QMainWindow(parent), messenger_(messenger), programDir_(std::move(programDir)),
      iniFile_(valueLabel("iniFile")), sysPath_(valueLabel("sysPath")),
      database_(valueLabel("database")), user_(new QComboBox), start_(new QPushButton),
      status_(valueLabel("status")), module_(new ModuleProcess(this))
{
    // Exactly this title: the form module compares it byte for byte.
    setWindowTitle(kTitle);

    user_->setObjectName(QStringLiteral("user"));
    user_->setPlaceholderText(QStringLiteral("(ninguno)"));
    start_->setObjectName(QStringLiteral("start0731"));
    start_->setText(QStringLiteral("Iniciar 0731"));
    status_->setWordWrap(true);

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
    layout->addStretch();
    setCentralWidget(central);
    resize(520, 220);

    connect(start_, &QPushButton::clicked, this, [this] { start0731(); });
    connect(user_, &QComboBox::currentIndexChanged, this, &HostWindow::userChosen);
    connect(module_, &ModuleProcess::finished, this, &HostWindow::moduleEnded);
    reload();
}

void HostWindow::reload()
{
    installation_ = readHostInstallation();
    iniFile_->setText(shownPath(installation_.iniFile));
    sysPath_->setText(shownPath(installation_.sysPath));
    database_->setText(shownPath(installation_.database));

    const QSignalBlocker blocker(user_);
    user_->clear();
    status_->clear();
    if (installation_.database.isEmpty()) {
        status_->setText(QStringLiteral("No hay instalación: ejecute \"velquira --init DIR\"."));
        return;
    }
    try {
        user_->addItems(hostUsers(installation_.database));
    } catch (const DbError &e) {
        status_->setText(QStringLiteral("No se pudo leer los usuarios: error %1: %2")
                             .arg(e.number())
                             .arg(e.description()));
    }
    user_->setCurrentIndex(user_->findText(installation_.user, Qt::MatchFixedString));
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
}

} // namespace qz
