// Frm731: building the window, its load, and the binding to the model both ways.
#include "gui/declaration/frm731.h"

#include "core/components/doctypes.h"
#include "core/declaration/boxes.h"
#include "core/declaration/draftstore.h"
#include "core/declaration/editformat.h"
#include "core/validation/companylist.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/paymentform.h"
#include "gui/widgets/statusbar.h"
#include "gui/widgets/windowroutines.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qz {

namespace {

QColor boxColor(BoxColor c)
{
    switch (c) {
    case BoxColor::Grey:
        return QColor(0xC0, 0xC0, 0xC0);
    case BoxColor::Cyan:
        return QColor(0x00, 0xFF, 0xFF);
    case BoxColor::White:
        break;
    }
    return QColor(0xFF, 0xFF, 0xFF);
}

// The background of a field (a palette, not a style sheet: style sheets are slow to apply to
// a hundred fields and override the platform's look).
void paint(QWidget *w, BoxColor c)
{
    QPalette p = w->palette();
    if (p.color(QPalette::Base) != boxColor(c)) {
        p.setColor(QPalette::Base, boxColor(c));
        p.setColor(QPalette::Button, boxColor(c));
        w->setPalette(p);
    }
}

} // namespace

Frm731::Frm731(const Context &context, QWidget *mainWindow)
    : QDialog(mainWindow), context_(context), model_(context.db, context.messenger),
      drafts_(model_, defaultDraftFolder())
{
    setObjectName(QStringLiteral("Frm731"));
    setWindowTitle(QString::fromLatin1(DeclarationModel::kCaption));
    setModal(true);
    setMouseTracking(true);
    model_.setRun({context.iModo, context.usuario, false, QString(), QString()});

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->addTab(buildPage0(), QStringLiteral("&Identificación"));
    tabs_->addTab(buildPage1(), QStringLiteral("Reorganización de Sociedades"));
    tabs_->addTab(buildBoxPage({101, 104, 105, 108, 109, 110, 111}, false),
                  QStringLiteral("Determinación Base Imponible"));
    tabs_->addTab(buildBoxPage({113, 114, 115, 139, 160, 161, 142, 143, 144, 145, 146, 180}, true),
                  QStringLiteral("Determinación de la De&uda"));
    tabs_->addTab(buildPage4(), QStringLiteral("Información C&omplementaria"));
    // Every tab in sight: with scroll buttons a click could land on a tab the user did not
    // see; without them the tab strip asks the window for the width of all five.
    tabs_->tabBar()->setUsesScrollButtons(false);
    tabs_->tabBar()->setElideMode(Qt::ElideNone);

    ayuda_ = new QLineEdit(this);
    ayuda_->setObjectName(QStringLiteral("TxtAyuda"));
    ayuda1_ = new QLineEdit(this);
    ayuda1_->setObjectName(QStringLiteral("TxtAyuda1"));
    for (QLineEdit *line : {ayuda_, ayuda1_}) {
        line->setReadOnly(true);
        line->setFocusPolicy(Qt::NoFocus);
    }
    validar_ = commandButton(QStringLiteral("&Validar"), QStringLiteral("CmdValidar"), this);
    grabar_ = commandButton(QStringLiteral("&Grabar"), QStringLiteral("CmdGrabar"), this);
    salir_ = commandButton(QStringLiteral("&Salir"), QStringLiteral("CmdCancelar"), this);
    connect(salir_, &QPushButton::clicked, this, &Frm731::salir);
    connect(validar_, &QPushButton::clicked, this, &Frm731::CmdValidar_Click);
    connect(grabar_, &QPushButton::clicked, this, &Frm731::CmdGrabar_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(ayuda_);
    layout->addWidget(ayuda1_);
    layout->addLayout(buttonRow({validar_, grabar_, salir_}));
    bindModel();
    for (int n : kBoxList) {
        showBox(n);
    }
    showPages();
}

Frm731::~Frm731()
{
    // Closed without "&Salir" (the program ends under it): what was typed stays as a draft.
    drafts_.flush();
    // The focus moves while the children are destroyed, after drafts_ is gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The fields lose their focus while the window's children are destroyed: by then this
    // window is gone, so nothing may reach it any more.
    for (auto &[box, edit] : boxes_) {
        disconnect(edit, nullptr, this, nullptr);
    }
    for (auto &[field, edit] : fields_) {
        disconnect(edit, nullptr, this, nullptr); // the exercise's editingFinished
    }
    disconnect(tabs_, nullptr, this, nullptr);
}

BoxEdit *Frm731::boxEdit(int box) const
{
    const auto it = boxes_.find(box);
    return it == boxes_.end() ? nullptr : it->second;
}

QLineEdit *Frm731::fieldEdit(Field f) const
{
    const auto it = fields_.find(f);
    return it == fields_.end() ? nullptr : it->second;
}

QLineEdit *Frm731::helpLine(int line) const
{
    return line == 0 ? ayuda_ : ayuda1_;
}

QButtonGroup *Frm731::answerGroup(Answer a) const
{
    return answers_.at(a);
}

void Frm731::openRegistered(const QString &ruc, const QString &razon, const QString &periodo)
{
    open_ = {ruc, razon, periodo, QString()};
}

void Frm731::openSent(const QString &ruc, const QString &razon, const QString &periodo,
                      const QString &correl, const QString &numControl, const QString &numOrden)
{
    open_ = {ruc, razon, periodo, numOrden};
    model_.setRun({context_.iModo, context_.usuario, true, correl, numControl});
}

void Frm731::bindModel()
{
    connect(&model_, &DeclarationModel::boxChanged, this, &Frm731::showBox);
    connect(&model_, &DeclarationModel::fieldChanged, this, &Frm731::showField);
    connect(&model_, &DeclarationModel::answerChanged, this, &Frm731::showAnswer);
    connect(&model_, &DeclarationModel::reorgListChanged, this, &Frm731::showReorgList);
    connect(&model_, &DeclarationModel::labelsChanged, this, &Frm731::showLabels);
    connect(&model_, &DeclarationModel::paymentChanged, this, &Frm731::showPayment);
    connect(&model_, &DeclarationModel::companiesChanged, this, &Frm731::showCompanies);
    connect(&model_, &DeclarationModel::pagesChanged, this, &Frm731::showPages);
    connect(&model_, &DeclarationModel::taxpayersChanged, this, [this] {
        const Syncing s(syncing_);
        cmbRuc_->clear();
        cmbRuc_->addItems(model_.taxpayerEntries());
        cmbRuc_->setCurrentIndex(-1);
    });
    connect(&model_, &DeclarationModel::pageRequested, this, [this](int page) {
        const Syncing s(syncing_);
        tabs_->setCurrentIndex(page);
    });
    connect(&model_, &DeclarationModel::focusRequested, this, &Frm731::focusTarget);
    connect(&model_, &DeclarationModel::statusRequested, this, &Frm731::publish);
    connect(&model_, &DeclarationModel::periodShown, this, [this](const QString &period) {
        if (context_.statusBar) {
            context_.statusBar->setPeriod(period);
        }
        if (context_.sPeriodoActual) {
            *context_.sPeriodoActual = period;
        }
    });
    connect(&model_, &DeclarationModel::listsLoaded, this, [this] {
        const Syncing s(syncing_);
        // The lists show the first part of each entry; the model keeps the entries whole and
        // is told the chosen index.
        cboTipDocRepLegal_->clear();
        for (const QString &entry : model_.representativeTypes()) {
            cboTipDocRepLegal_->addItem(shownDocumentType(entry), entry);
        }
        cmbZona_->clear();
        for (const QString &entry : model_.zones()) {
            cmbZona_->addItem(DeclarationModel::shownZone(entry), entry);
        }
    });
    connect(&model_, &DeclarationModel::identificationLoaded, this, [this] {
        const Syncing s(syncing_);
        if (model_.zoneIndex() >= 0) {
            cmbZona_->setCurrentIndex(model_.zoneIndex());
        }
        if (model_.representativeTypeIndex() >= 0) {
            cboTipDocRepLegal_->setCurrentIndex(model_.representativeTypeIndex());
        }
    });

    // Widgets to the model.
    for (auto &[box, edit] : boxes_) {
        const int n = box;
        edit->keyFilter = [this, n](int code) { return boxKey(n, code); };
        connect(edit, &QLineEdit::textEdited, this, [this, n](const QString &t) {
            if (!syncing_) {
                model_.setText(n, t);
            }
        });
        connect(edit, &BoxEdit::focusEntered, this, &Frm731::boxFocusIn);
        connect(edit, &BoxEdit::focusLeft, this, &Frm731::boxFocusOut);
        connect(edit, &BoxEdit::pointerOver, this, &Frm731::showHelpLines);
    }
    for (auto &[f, edit] : fields_) {
        const Field field = f;
        connect(edit, &QLineEdit::textChanged, this, [this, field, e = edit] {
            if (!syncing_) {
                model_.editField(field, e->inputMask().isEmpty() ? e->text() : e->displayText());
            }
        });
    }
    for (auto &[a, group] : answers_) {
        const Answer answer = a;
        connect(group, &QButtonGroup::idClicked, this, [this, answer](int id) {
            if (!syncing_) {
                model_.chooseAnswer(answer, id);
            }
        });
    }
    connect(cmbRuc_, &QComboBox::activated, this, [this](int index) {
        model_.chooseTaxpayer(index);
        setDropDownWidth(*this, *cmbRuc_, 45);
    });
    connect(cmbModPer_, &QComboBox::activated, this,
            [this](int index) { model_.chooseReorgType(index); });
    connect(cboTipDocRepLegal_, &QComboBox::activated, this, [this](int index) {
        model_.chooseRepresentativeType(index);
        boxes_[226]->setMaxLength(std::max(1, model_.documentLength()));
    });
    connect(cmbZona_, &QComboBox::activated, this, [this](int index) { model_.chooseZone(index); });
    connect(payment_, &FormaDePagoZEB::changed, this, [this] {
        if (!syncing_) {
            model_.payment().setPaymentType(payment_->paymentType());
            model_.payment().setBankCode(payment_->bankCode());
            model_.payment().setChequeNumber(payment_->chequeNumber());
            model_.markChanged();
        }
    });
    connect(tabs_, &QTabWidget::currentChanged, this, &Frm731::pageChanged);
    // Leaving a field writes the draft, once the leaving's own handling (the box's display
    // format, the exercise's checks) is done.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *) {
        if (old && isAncestorOf(old)) {
            QTimer::singleShot(0, &drafts_, &DraftKeeper::flush);
        }
    });
    // The exercise is checked once it is left (or Enter moves on), not on every keystroke.
    connect(fieldEdit(Field::Periodo), &QLineEdit::editingFinished, this,
            [this] { model_.leaveExercise(); });
    tabs_->tabBar()->installEventFilter(this);
}

void Frm731::showPages()
{
    const Syncing s(syncing_);
    for (int p = 0; p < 5; ++p) {
        tabs_->setTabEnabled(p, model_.pageEnabled(p));
    }
}

void Frm731::showBox(int box)
{
    BoxEdit *edit = boxEdit(box);
    if (!edit) {
        return;
    }
    const Syncing s(syncing_);
    const BoxState &st = model_.box(box);
    if (edit->text() != st.text) {
        edit->setText(st.text);
    }
    edit->setReadOnly(st.locked);
    edit->setEnabled(st.enabled);
    paint(edit, st.color);
    const BoxInfo *info = boxInfo(box);
    if (info && info->kind != BoxKind::Hidden) {
        edit->setVisible(st.visible);
        numberLabels_[box]->setVisible(st.visible);
        textLabels_[box]->setVisible(st.visible);
    }
}

void Frm731::showField(Field f)
{
    QLineEdit *e = fieldEdit(f);
    if (!e) {
        return;
    }
    const Syncing s(syncing_);
    const QString value = model_.field(f);
    if ((e->inputMask().isEmpty() ? e->text() : e->displayText()) != value) {
        e->setText(value);
    }
}

void Frm731::showAnswer(Answer a)
{
    const Syncing s(syncing_);
    QButtonGroup *group = answers_.at(a);
    const QString code = model_.answer(a);
    // Neither option selected: an exclusive group cannot uncheck its last button itself.
    group->setExclusive(false);
    group->button(0)->setChecked(code == QLatin1String("0"));
    group->button(1)->setChecked(code == QLatin1String("1"));
    group->setExclusive(true);
    if (a == Answer::Ajuste) {
        questionFrames_.at(a)->setEnabled(model_.ajusteEnabled());
    }
}

void Frm731::showReorgList()
{
    const Syncing s(syncing_);
    cmbModPer_->clear();
    cmbModPer_->addItems(model_.reorgTypes());
    cmbModPer_->setCurrentIndex(model_.reorgSelection());
    cmbModPer_->setEnabled(model_.reorgListEnabled());
    paint(cmbModPer_, model_.reorgListEnabled() ? BoxColor::White : BoxColor::Grey);
}

void Frm731::showLabels()
{
    for (auto &[box, label] : textLabels_) {
        label->setText(model_.label(box));
    }
    lblFecha_->setText(model_.fechaCaption());
    lblCantidad_->setText(model_.cantidadCaption());
    reorgQuestion_->setText(model_.reorgQuestion());
    questionFrames_.at(Answer::Ajuste)->setEnabled(model_.ajusteEnabled());
}

void Frm731::showPayment()
{
    const Syncing s(syncing_);
    const PaymentState &p = model_.payment();
    payment_->setPaymentType(p.paymentType());
    payment_->setBankCode(p.bankCode());
    payment_->setChequeNumber(p.chequeNumber());
    payment_->setAmount(p.amount());
    payment_->setEnabledText(p.enabledText());
}

void Frm731::showCompanies()
{
    const QueryResult rows = companyListRows(context_.db);
    companies_->setRowCount(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        for (int c = 0; c < 8; ++c) {
            auto *item = new QTableWidgetItem(companyCellText(c, rows.at(r, c)));
            if (companyColumnIsNumber(c)) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            companies_->setItem(r, c, item);
        }
    }
    companies_->resizeColumnsToContents();
    const CompanyTotals totals = companyTotals(context_.db);
    lblCount_->setText(totals.countCaption);
    txtBase_->setText(totals.totalBase);
    txtPercepcion_->setText(totals.totalImpuesto);
    model_.setCompanyTotals(totals.totalBase, totals.totalImpuesto, totals.box115);
}

void Frm731::focusTarget(const FocusTarget &target)
{
    QWidget *w = nullptr;
    if (target.taxpayerList) {
        w = cmbRuc_;
    } else if (target.field) {
        w = fieldEdit(*target.field);
    } else {
        w = boxEdit(target.box);
    }
    if (!w) {
        return;
    }
    // After the focus change under way (a Tab whose leaving ran the check that asked for this)
    // has finished: otherwise it would move the focus on again.
    QTimer::singleShot(0, w, [w] {
        if (w->isEnabled()) {
            w->setFocus();
        }
    });
}

void Frm731::publish(const QString &ruc, const QString &name, const QString &period,
                     const QString &form)
{
    if (context_.statusBar) {
        publishStatus(*context_.statusBar, ruc, name, period, form);
    }
    if (context_.sPeriodoActual) {
        *context_.sPeriodoActual = period;
    }
}

void Frm731::load()
{
    placeWindow(*this, 0, 0, 6825, 9615);
    centreOnMainWindow(*this, parentWidget());
    const WaitCursor wait;
    {
        const Syncing s(syncing_);
        tabs_->setCurrentIndex(0);
    }
    helpTopic_ = 1022;
    setDropDownWidth(*this, *cboTipDocRepLegal_, 15);
    setDropDownWidth(*this, *cmbModPer_, 88);
    payment_->loadBanks(context_.db);
    orderFrame_->setVisible(model_.bHistorico() && context_.bRegistraOrden);
    const bool isNew = model_.iModo() == 0;
    cmbRuc_->setVisible(isNew);
    txtNumRuc_->setVisible(!isNew);
    if (!isNew) {
        txtNumRuc_->setText(open_.ruc);
        txtNumRuc_->setEnabled(false);
        fieldEdit(Field::Periodo)->setEnabled(false);
    }
    fieldEdit(Field::Razon)->setEnabled(false);

    model_.open(open_);
    loadedOrder_ = {model_.field(Field::NumOrden), model_.field(Field::NumOrdenCheck)};

    if (model_.bHistorico() && context_.bRecuperar) {
        fieldEdit(Field::NumOrden)->setEnabled(false);
        fieldEdit(Field::NumOrdenCheck)->setEnabled(false);
    }
    if (!model_.hasAdjustmentFactor() && isNew) {
        // Without the adjustment factor no new declaration can be entered.
        tabs_->setEnabled(false);
        validar_->setEnabled(false);
        grabar_->setEnabled(false);
        salir_->setDefault(true);
    }
    if (model_.bHistorico()) {
        makeReadOnly();
    }
    helpTopic_ = 1022;
    // A draft left by a crash is offered once the window is on screen.
    drafts_.start();
}

void Frm731::makeReadOnly()
{
    // The boxes are locked by the model (open()); the other controls here.
    for (Field f :
         {Field::Telefono, Field::ApellidoRepresentante, Field::NombreRepresentante,
          Field::ApellidoContador, Field::NombreContador, Field::FechaReorg, Field::CantEmpresas}) {
        fieldEdit(f)->setEnabled(false);
    }
    for (auto &[a, frame] : questionFrames_) {
        frame->setEnabled(false);
    }
    cboTipDocRepLegal_->setEnabled(false);
    cmbZona_->setEnabled(false);
    validar_->setEnabled(false);
    for (QPushButton *b : companyButtons_) {
        b->setEnabled(false);
    }
}

} // namespace qz
