// The recovery dialog.
#include "gui/management/frmrecuperar.h"

#include "core/management/listrow.h"
#include "core/management/recovery.h"
#include "gui/widgets/windowroutines.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qz {

FrmRecuperar::FrmRecuperar(Database &db, Messenger &messenger, const TextUtility &utility,
                           QString formulario, ListRow row, QWidget *mainWindow)
    : HelpDialog(kHelpTopic, mainWindow), db_(db), messenger_(messenger), utility_(utility),
      formulario_(std::move(formulario)), row_(std::move(row))
{
    setObjectName(QStringLiteral("FrmRecuperar"));
    setWindowTitle(FrmRecuperarCaption());
    setModal(true);

    const RecoverySource source = recoverySource(row_);
    auto *origen = new QGroupBox(QStringLiteral("Datos Origen"), this);
    origen->setObjectName(QStringLiteral("fraOrigen"));
    auto *origenForm = new QFormLayout(origen);
    const auto addField = [&](Field f, const char *name, const QString &label,
                              const QString &text) {
        auto *edit = new QLineEdit(text, origen);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        edit->setCursorPosition(0);
        origenForm->addRow(label, edit);
        fields_[f] = edit;
    };
    addField(Field::Ruc, "txtRuc", QStringLiteral("RUC :"), source.ruc);
    addField(Field::Razon, "txtRazon", QStringLiteral("Razon Social :"), source.razon);
    addField(Field::NroOrden, "txtNroOrden", QStringLiteral("Nro de Orden :"), source.nroOrden);
    addField(Field::FechaEnvio, "txtFechaEnvio", QStringLiteral("Fecha de Envío :"),
             source.fechaEnvio);
    addField(Field::PeriodoOrigen, "txtPeriodoOrigen", QStringLiteral("Periodo Origen :"),
             QString());

    auto *destino = new QGroupBox(QStringLiteral("Al Periodo"), this);
    destino->setObjectName(QStringLiteral("fraDestino"));
    auto *destinoForm = new QFormLayout(destino);
    periodoDestino_ = new QLineEdit(destino);
    periodoDestino_->setObjectName(QStringLiteral("mskPeriodoDestino"));
    // "##/####": two digits, a slash, four digits; an empty place shows "_".
    periodoDestino_->setInputMask(QStringLiteral("99/9999;_"));
    destinoForm->addRow(QStringLiteral("Periodo Destino :"), periodoDestino_);
    connect(periodoDestino_, &QLineEdit::textChanged, this, &FrmRecuperar::checkPeriodoDestino);

    recuperar_ = commandButton(QStringLiteral("&Recuperar"), QStringLiteral("cmdRecuperar"), this);
    salir_ = commandButton(QStringLiteral("&Salir"), QStringLiteral("cmdSalir"), this);
    connect(recuperar_, &QPushButton::clicked, this, &FrmRecuperar::CmdRecuperar_Click);
    connect(salir_, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(origen);
    layout->addWidget(destino);
    layout->addLayout(buttonRow({recuperar_, salir_}));
    adjustSize();
    centreOnMainWindowExact(*this, mainWindow);
}

void FrmRecuperar::checkPeriodoDestino()
{
    // The text with the mask's "_" in the places not typed yet: checked once none is left.
    if (const auto message = qz::checkPeriodoDestino(periodoDestino_->displayText())) {
        message->showOn(messenger_);
        periodoDestino_->setFocus();
    }
}

bool FrmRecuperar::CmdRecuperar_Click()
{
    const WaitCursor wait;
    SentDeclaration target = recoveryTarget(row_, formulario_);
    target.ruc = field(Field::Ruc)->text().trimmed();
    return RecuperarDeclaracion(db_, messenger_, utility_, target);
}

} // namespace qz
