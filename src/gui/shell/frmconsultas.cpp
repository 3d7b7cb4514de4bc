// The consultation window.
#include "gui/shell/frmconsultas.h"

#include "core/shell/consultations.h"
#include "gui/shell/resulttablemodel.h"
#include "gui/widgets/windowroutines.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qz {

FrmConsultas::FrmConsultas(Database &db, int iModo, Messenger &messenger, QWidget *mainWindow)
    : HelpDialog(kHelpTopic, mainWindow)
{
    setObjectName(QStringLiteral("FrmConsultas"));
    setModal(true);
    grid_ = listGrid(QStringLiteral("grdConsulta"), this);
    grid_->horizontalHeader()->setStretchLastSection(true);
    model_ = new ResultTableModel(this);
    grid_->setModel(model_);
    salir_ = new QPushButton(QStringLiteral("&Salir"), this);
    salir_->setObjectName(QStringLiteral("cmdSalir"));
    connect(salir_, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(salir_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);

    placeWindow(*this, 0, 0, 4140, 7065);
    centreOnMainWindow(*this, mainWindow);
    const WaitCursor wait;
    load(db, iModo, messenger);
}

void FrmConsultas::load(Database &db, int iModo, Messenger &messenger)
{
    const Consultation c = consultationFor(iModo);
    setWindowTitle(c.caption);
    QueryResult rows;
    try {
        rows = db.query(c.statement);
    } catch (const DbError &e) {
        messenger.show(MessageIcon::Critical, QStringLiteral("Error"), e.boxText());
    }
    model_->setResult(std::move(rows), {c.heading1, c.heading2}, {c.format1, c.format2});
    if (model_->rowCount() > 0) {
        grid_->selectRow(0);
        grid_->setCurrentIndex(model_->index(0, 0));
    } else {
        grid_->setEnabled(false);
    }
}

void FrmConsultas::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (grid_->isEnabled()) {
        grid_->setFocus();
    }
}

} // namespace qz
