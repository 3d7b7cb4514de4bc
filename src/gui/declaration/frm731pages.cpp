// Building Frm731's pages: the rows of boxes in their order, the questions, the lists and the
// fields, each with the object name the system gives it.
#include "gui/declaration/frm731.h"

#include "core/declaration/boxes.h"
#include "core/validation/companylist.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/paymentform.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qz {

namespace {

const char *answerName(Answer a)
{
    switch (a) {
    case Answer::Rectifica:
        return "OptRectifica";
    case Answer::Ajuste:
        return "OptAjuste";
    case Answer::Liquid:
        return "OptLiquid";
    case Answer::Reorg:
        return "OptReorg";
    case Answer::Coop:
        return "OptCoop";
    }
    return "";
}

} // namespace

QLineEdit *Frm731::addField(Field f, int maxLength, QWidget *parent)
{
    static const std::map<Field, const char *> names = {
        {Field::Telefono, "TxtTelefono"},
        {Field::Periodo, "MkePeriodo"},
        {Field::FechaReorg, "MkeFecha"},
        {Field::CantEmpresas, "TxtCantEmpresas"},
        {Field::NombreContador, "TxtNombreN"},
        {Field::ApellidoContador, "TxtNombreA"},
        {Field::ApellidoRepresentante, "txtApellidoRL"},
        {Field::NombreRepresentante, "txtNombreRL"},
        {Field::NumOrden, "TxtNumOrdenE_0"},
        {Field::NumOrdenCheck, "TxtNumOrdenE_1"},
        {Field::Razon, "TxtRazon"},
    };
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(names.at(f)));
    if (f == Field::Periodo) {
        e->setInputMask(QStringLiteral("9999;_"));
    } else if (f == Field::FechaReorg) {
        e->setInputMask(QStringLiteral("99/99/9999;_"));
    } else if (maxLength > 0) {
        e->setMaxLength(maxLength);
    }
    e->installEventFilter(this);
    fields_[f] = e;
    return e;
}

QWidget *Frm731::addBox(int box, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *number = new QLabel(QString::number(box), row);
    number->setObjectName(QStringLiteral("lblNum_%1").arg(box));
    number->setFixedWidth(32);
    auto *text = new QLabel(model_.label(box), row);
    text->setObjectName(QStringLiteral("lblCasilla_%1").arg(box));
    text->setWordWrap(true);
    auto *edit = new BoxEdit(box, row);
    edit->setFixedWidth(150);
    layout->addWidget(number);
    layout->addWidget(text, 1);
    layout->addWidget(edit);
    boxes_[box] = edit;
    numberLabels_[box] = number;
    textLabels_[box] = text;
    return row;
}

QGroupBox *Frm731::addQuestion(Answer a, const QString &question, QWidget *parent)
{
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QStringLiteral("fra") + QString::fromLatin1(answerName(a)).mid(3));
    auto *layout = new QGridLayout(frame);
    auto *label = new QLabel(question, frame);
    label->setWordWrap(true);
    auto *si = new QRadioButton(QStringLiteral("Si"), frame);
    auto *no = new QRadioButton(QStringLiteral("No"), frame);
    si->setObjectName(QString::fromLatin1(answerName(a)) + QStringLiteral("_1"));
    no->setObjectName(QString::fromLatin1(answerName(a)) + QStringLiteral("_0"));
    auto *group = new QButtonGroup(frame);
    group->addButton(no, 0);
    group->addButton(si, 1);
    layout->addWidget(label, 0, 0);
    layout->addWidget(si, 0, 1);
    layout->addWidget(no, 0, 2);
    layout->setColumnStretch(0, 1);
    answers_[a] = group;
    questionFrames_[a] = frame;
    if (a == Answer::Reorg) {
        reorgQuestion_ = label;
    }
    return frame;
}

QWidget *Frm731::buildPage0()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout;
    cmbRuc_ = new QComboBox(page);
    cmbRuc_->setObjectName(QStringLiteral("CmbRuc"));
    txtNumRuc_ = new QLineEdit(page);
    txtNumRuc_->setObjectName(QStringLiteral("TxtNumRuc"));
    txtNumRuc_->setReadOnly(true);
    txtNumRuc_->setMaxLength(11);
    blockPasting(*txtNumRuc_);
    auto *ruc = new QWidget(page);
    auto *rucLayout = new QHBoxLayout(ruc);
    rucLayout->setContentsMargins(0, 0, 0, 0);
    rucLayout->addWidget(cmbRuc_, 1);
    rucLayout->addWidget(txtNumRuc_, 1);
    form->addRow(QStringLiteral("RUC :"), ruc);
    QLineEdit *razon = addField(Field::Razon, 40, page);
    razon->setReadOnly(true);
    form->addRow(QStringLiteral("Razón Social :"), razon);
    form->addRow(QStringLiteral("Teléfono :"), addField(Field::Telefono, 8, page));
    form->addRow(QStringLiteral("Ejercicio :"), addField(Field::Periodo, 4, page));

    orderFrame_ = new QGroupBox(QStringLiteral("Número de orden"), page);
    orderFrame_->setObjectName(QStringLiteral("fraNumOrden"));
    auto *orderLayout = new QHBoxLayout(orderFrame_);
    orderLayout->addWidget(addField(Field::NumOrden, 10, orderFrame_));
    orderLayout->addWidget(addField(Field::NumOrdenCheck, 2, orderFrame_));

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(orderFrame_);
    layout->addWidget(addQuestion(Answer::Rectifica,
                                  QStringLiteral("¿La presente declaración rectifica o sustituye "
                                                 "a otra?"),
                                  page));
    layout->addWidget(addQuestion(
        Answer::Ajuste,
        QStringLiteral("¿Al 31/12/2004, se encontraba obligado a efectuar ajustes por inflación "
                       "de acuerdo con el D.Leg. N° 797?"),
        page));
    QGroupBox *liquid = addQuestion(
        Answer::Liquid,
        QStringLiteral("¿Usted ha presentado el Anexo aprobado con el reglamento del OKRE?"), page);
    liquid->setTitle(QStringLiteral("Acogimiento de la opción de acreditación"));
    layout->addWidget(liquid);
    QGroupBox *reorg = addQuestion(Answer::Reorg, model_.reorgQuestion(), page);
    cmbModPer_ = new QComboBox(reorg);
    cmbModPer_->setObjectName(QStringLiteral("CmbModPer"));
    static_cast<QGridLayout *>(reorg->layout())->addWidget(cmbModPer_, 1, 0, 1, 3);
    layout->addWidget(reorg);
    layout->addWidget(addQuestion(
        Answer::Coop,
        QStringLiteral("¿Es una cooperativa y goza de inafectación o exoneración parciales del "
                       "Impuesto a la Renta relativas a rentas obtenidas por operaciones propias "
                       "de su actividad?"),
        page));
    layout->addStretch();
    return page;
}

QWidget *Frm731::buildPage1()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout;
    lblFecha_ = new QLabel(model_.fechaCaption(), page);
    lblCantidad_ = new QLabel(model_.cantidadCaption(), page);
    form->addRow(lblFecha_, addField(Field::FechaReorg, 10, page));
    form->addRow(lblCantidad_, addField(Field::CantEmpresas, 3, page));

    companiesFrame_ = new QGroupBox(
        QStringLiteral("Detalle de Sociedades Involucradas en Proceso de Reorganización"), page);
    companiesFrame_->setObjectName(QStringLiteral("fraEmpresas"));
    companiesFrame_->installEventFilter(this);
    companies_ = new QTableWidget(0, 8, companiesFrame_);
    companies_->setObjectName(QStringLiteral("grdEmpresas"));
    companies_->setHorizontalHeaderLabels(companyColumnCaptions());
    companies_->setSelectionBehavior(QAbstractItemView::SelectRows);
    companies_->setSelectionMode(QAbstractItemView::SingleSelection);
    companies_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    companies_->verticalHeader()->hide();
    auto *buttons = new QHBoxLayout;
    int option = 0;
    for (const char *caption : {"&Nuevo", "&Modificar", "&Eliminar"}) {
        auto *b = new QPushButton(QString::fromUtf8(caption), companiesFrame_);
        b->setObjectName(QStringLiteral("CmdOpciones_%1").arg(option));
        connect(b, &QPushButton::clicked, this, [this, option] { CmdOpciones_Click(option); });
        companyButtons_ << b;
        buttons->addWidget(b);
        ++option;
    }
    connect(companies_, &QTableWidget::cellDoubleClicked, this, [this] {
        if (!model_.bHistorico()) {
            CmdOpciones_Click(1);
        }
    });
    lblCount_ = new QLabel(companiesFrame_);
    lblCount_->setObjectName(QStringLiteral("lblCantidad"));
    txtBase_ = new QLineEdit(companiesFrame_);
    txtBase_->setObjectName(QStringLiteral("TxtBase"));
    txtBase_->hide();
    txtPercepcion_ = new QLineEdit(companiesFrame_);
    txtPercepcion_->setObjectName(QStringLiteral("TxtPercepcion"));
    txtPercepcion_->setReadOnly(true);
    buttons->addStretch();
    buttons->addWidget(lblCount_);
    buttons->addWidget(txtBase_);
    buttons->addWidget(new QLabel(QStringLiteral("Total impuesto a pagar :"), companiesFrame_));
    buttons->addWidget(txtPercepcion_);
    auto *frameLayout = new QVBoxLayout(companiesFrame_);
    frameLayout->addWidget(companies_);
    frameLayout->addLayout(buttons);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(companiesFrame_, 1);
    return page;
}

QWidget *Frm731::buildBoxPage(const std::vector<int> &boxes, bool withPayment)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    for (int box : boxes) {
        layout->addWidget(addBox(box, page));
    }
    if (withPayment) {
        payment_ = new FormaDePagoZEB(page);
        payment_->setObjectName(QStringLiteral("FormaDePagoZEB1"));
        layout->addWidget(payment_);
    }
    layout->addStretch();
    return page;
}

QWidget *Frm731::buildPage4()
{
    auto *page = new QWidget;
    auto *representative = new QGroupBox(QStringLiteral("Representante Legal"), page);
    auto *rep = new QFormLayout(representative);
    cboTipDocRepLegal_ = new QComboBox(representative);
    cboTipDocRepLegal_->setObjectName(QStringLiteral("cboTipDocRepLegal"));
    rep->addRow(QStringLiteral("Tipo de documento :"), cboTipDocRepLegal_);
    rep->addRow(addBox(226, representative));
    rep->addRow(QStringLiteral("Apellidos :"),
                addField(Field::ApellidoRepresentante, 15, representative));
    rep->addRow(QStringLiteral("Nombres :"),
                addField(Field::NombreRepresentante, 15, representative));
    QWidget *hidden225 = addBox(225, representative);
    hidden225->hide();

    auto *accountant = new QGroupBox(QStringLiteral("Contador"), page);
    auto *acc = new QFormLayout(accountant);
    acc->addRow(addBox(208, accountant));
    cmbZona_ = new QComboBox(accountant);
    cmbZona_->setObjectName(QStringLiteral("CmbZona"));
    acc->addRow(QStringLiteral("Colegio :"), cmbZona_);
    acc->addRow(QStringLiteral("Apellidos :"), addField(Field::ApellidoContador, 15, accountant));
    acc->addRow(QStringLiteral("Nombres :"), addField(Field::NombreContador, 15, accountant));
    acc->addRow(addBox(211, accountant));
    acc->addRow(addBox(212, accountant));
    QWidget *hidden209 = addBox(209, accountant);
    hidden209->hide();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(representative);
    layout->addWidget(accountant);
    layout->addStretch();
    return page;
}

} // namespace qz
