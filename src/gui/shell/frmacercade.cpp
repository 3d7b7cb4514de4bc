// The about box.
#include "gui/shell/frmacercade.h"

#include "gui/shell/emblem.h"
#include "gui/widgets/windowroutines.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qz {

FrmAcercade::FrmAcercade(const QString &actualizado, QWidget *mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("frmAcercade"));
    setWindowTitle(QStringLiteral("Acerca de Velquira "));
    setModal(true);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(emblemPixmap(64));
    auto *family = new QLabel(QStringLiteral("Velquira"), this);
    family->setObjectName(QStringLiteral("lblProducto"));
    QFont big = family->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    family->setFont(big);
    auto *tax = new QLabel(QStringLiteral("Vexilar"), this);
    tax->setObjectName(QStringLiteral("lblTributo"));
    auto *version = new QLabel(QStringLiteral("Versión 1.3"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    update_ = new QLabel(actualizado, this);
    update_->setObjectName(QStringLiteral("lblActualizado"));
    update_->setTextFormat(Qt::PlainText);
    auto *aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    aceptar->setDefault(true);
    connect(aceptar, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(family);
    texts->addWidget(tax);
    texts->addWidget(version);
    texts->addWidget(update_);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(aceptar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    adjustSize();
    centreOnMainWindowExact(*this, mainWindow);
}

} // namespace qz
