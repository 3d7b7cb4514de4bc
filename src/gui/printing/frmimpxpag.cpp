// The page-range dialog: its frame, fields, note and buttons, the fields' keys and
// "&Preliminar".
#include "gui/printing/frmimpxpag.h"

#include "core/data/messenger.h"
#include "core/reports/pagerangecheck.h"
#include "gui/printing/frmpreview.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/windowroutines.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qz {

FrmImpxPag::FrmImpxPag(const PreviewRequest &request, int pages, Messenger &messenger,
                       QWidget *parent)
    : QDialog(parent), request_(request), pages_(pages), messenger_(messenger)
{
    setObjectName(QStringLiteral("frmImpxPag"));
    setWindowTitle(pageRangeCaption(pages));
    setModal(true);

    auto *frame = new QGroupBox(QStringLiteral("Imprimir"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    desde_ = pageField("txtDesde");
    desde_->setText(QStringLiteral("1"));
    hasta_ = pageField("txtHasta");
    auto *lblDesde = new QLabel(QStringLiteral("&Desde :"), frame);
    auto *lblHasta = new QLabel(QStringLiteral("&Hasta :"), frame);
    lblDesde->setBuddy(desde_);
    lblHasta->setBuddy(hasta_);

    total_ = new QLineEdit(QString::number(pages), frame);
    total_->setObjectName(QStringLiteral("txtTotal"));
    total_->setReadOnly(true);
    total_->setFocusPolicy(Qt::NoFocus);
    total_->setAlignment(Qt::AlignRight);
    total_->setMaximumWidth(total_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);

    auto *fields = new QGridLayout;
    fields->addWidget(lblDesde, 0, 0);
    fields->addWidget(desde_, 0, 1);
    fields->addWidget(lblHasta, 0, 2);
    fields->addWidget(hasta_, 0, 3);
    fields->setColumnStretch(4, 1);

    auto *count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("El reporte generado contiene"), frame));
    count->addWidget(total_);
    count->addWidget(new QLabel(QStringLiteral("páginas. "), frame));
    count->addStretch();

    auto *note = new QLabel(QStringLiteral("Si su consulta contiene más de 10 páginas puede\n"
                                           "ocasionar la caida del programa debido a la "
                                           "saturación de \n"
                                           "la memoria de la computadora.\n"
                                           "Se recomienda imprimir en rangos no mayores a 10 "
                                           "páginas."),
                            frame);
    note->setObjectName(QStringLiteral("lblNota"));

    auto *inside = new QVBoxLayout(frame);
    inside->addLayout(fields);
    inside->addLayout(count);
    inside->addWidget(note);

    preliminar_ =
        commandButton(QStringLiteral("&Preliminar"), QStringLiteral("cmdPreliminar"), this);
    preliminar_->setDefault(true);
    cancelar_ = commandButton(QStringLiteral("&Cancelar"), QStringLiteral("cmdCancelar"), this);
    connect(preliminar_, &QPushButton::clicked, this, &FrmImpxPag::cmdPreliminar);
    connect(cancelar_, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow({preliminar_, cancelar_}));

    setTabOrder(desde_, hasta_);
    setTabOrder(hasta_, preliminar_);
    setTabOrder(preliminar_, cancelar_);
    desde_->setFocus();
}

QLineEdit *FrmImpxPag::pageField(const char *objectName)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    field->installEventFilter(this);
    return field;
}

bool FrmImpxPag::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == desde_ || watched == hasta_)) {
        const int code = typedKeyCode(static_cast<QKeyEvent *>(event));
        if (code == 13) {
            // Enter moves on to the next control instead of pressing "&Preliminar".
            enterAsTab(QStringLiteral("TAB"), static_cast<QWidget *>(watched));
            return true;
        }
        if (code >= 0 && !pageFieldAccepts(code)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmImpxPag::cmdPreliminar()
{
    const PageRangeCheck check = checkPageRange(desde_->text(), hasta_->text(), pages_);
    if (!check.ok()) {
        messenger_.show(MessageIcon::Critical, windowTitle(), check.message);
        return;
    }
    FrmPreview preview(request_, check.range, messenger_, this);
    preview.setPrinterSource(printerSource_);
    connect(&preview, &FrmPreview::helpRequested, this, &FrmImpxPag::helpRequested);
    preview.load();
    preview.exec();
}

} // namespace qz
