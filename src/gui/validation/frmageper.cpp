// The company dialog: widgets, keys, focus formats and messages around CompanyForm.
#include "gui/validation/frmageper.h"

#include "core/components/windowgeometry.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/windowroutines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qz {

namespace {

constexpr double kLeftTwips = 1000;
constexpr double kTopTwips = 300;

void paint(QLineEdit *edit, bool grey)
{
    QPalette p = edit->palette();
    const QColor c = grey ? QColor(0xC0, 0xC0, 0xC0) : QColor(0xFF, 0xFF, 0xFF);
    p.setColor(QPalette::Base, c);
    edit->setPalette(p);
}

// True for the focus changes that come from another window becoming active or a popup,
// not from moving between the dialog's own controls.
bool windowSwitch(const QFocusEvent *event)
{
    return event->reason() == Qt::ActiveWindowFocusReason ||
           event->reason() == Qt::PopupFocusReason;
}

} // namespace

FrmAgePer::FrmAgePer(Database &db, Messenger &messenger, const CompanyFormContext &context,
                     QWidget *parent)
    : QDialog(parent), messenger_(messenger), form_(db, context)
{
    setObjectName(QStringLiteral("FrmAgePer"));
    setWindowTitle(QString::fromUtf8(CompanyForm::kCaption));
    setModal(true);

    auto *frame = new QGroupBox(QStringLiteral("Datos de las Empresas"), this);
    frame->setObjectName(QStringLiteral("fraDatos"));
    auto *grid = new QGridLayout(frame);
    const auto addRow = [&](CompanyField f, const char *name, QLabel *label) {
        QLineEdit *e = addEdit(f, name);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(e, row, 1);
        return label;
    };
    addRow(CompanyField::Ruc, "TxtRuc", new QLabel(QStringLiteral("RUC :"), frame));
    addRow(CompanyField::Razon, "TxtRazon", new QLabel(QStringLiteral("Razón Social :"), frame));
    lblActivos_ = addRow(CompanyField::Activos, "TxtActivos", new QLabel(frame));
    lblActivos_->setObjectName(QStringLiteral("lblActivos"));
    lblActivos_->setWordWrap(true);
    lblPorcentaje_ = addRow(CompanyField::Porcentaje, "TxtPorcentaje",
                            new QLabel(QStringLiteral("Porc. Participación :"), frame));
    lblPorcentaje_->setObjectName(QStringLiteral("lblPorcentaje"));
    addRow(CompanyField::Adiciones, "TxtAdiciones",
           new QLabel(QStringLiteral("Adiciones :"), frame));
    addRow(CompanyField::Deducciones, "TxtDeducciones",
           new QLabel(QStringLiteral("Deducciones :"), frame));
    addRow(CompanyField::Base, "TxtBase", new QLabel(QStringLiteral("Base Imponible :"), frame));
    addRow(CompanyField::Impuesto, "TxtImpuesto",
           new QLabel(QStringLiteral("Impuesto a pagar :"), frame));
    grid->setColumnStretch(1, 1);

    edit(CompanyField::Ruc)->setMaxLength(form_.maxLength(CompanyField::Ruc));
    edit(CompanyField::Razon)->setMaxLength(form_.maxLength(CompanyField::Razon));
    for (CompanyField f : {CompanyField::Base, CompanyField::Impuesto}) {
        edit(f)->setReadOnly(true);
    }

    aceptar_ = commandButton(QStringLiteral("&Aceptar"), QStringLiteral("cmdAceptar"), this);
    salir_ = commandButton(QStringLiteral("&Salir"), QStringLiteral("cmdSalir"), this);
    connect(aceptar_, &QPushButton::clicked, this, [this] {
        if (aceptar()) {
            accept();
        }
    });
    connect(salir_, &QPushButton::clicked, this, &FrmAgePer::salir);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow({aceptar_, salir_}));

    QWidget *previous = nullptr;
    for (QWidget *w : edits_) {
        if (previous) {
            setTabOrder(previous, w);
        }
        previous = w;
    }
    setTabOrder(previous, aceptar_);
    setTabOrder(aceptar_, salir_);
}

QLineEdit *FrmAgePer::addEdit(CompanyField f, const char *name)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    edits_[static_cast<size_t>(f)] = e;
    connect(e, &QLineEdit::textChanged, this,
            [this, f](const QString &text) { textEdited(f, text); });
    if (!CompanyForm::computed(f)) {
        // The key and focus filter first, then the paste blocking: filters installed later
        // see events first, so a paste never reaches the key rules.
        e->installEventFilter(this);
        blockPasting(*e);
    }
    if (f != CompanyField::Ruc && f != CompanyField::Razon) {
        e->setAlignment(Qt::AlignRight);
    }
    return e;
}

void FrmAgePer::load()
{
    WaitCursor wait;
    if (form_.readOnly()) {
        desActiva();
    }
    // Mode "1" shows the selected RUC, which cannot be changed.
    QLineEdit *ruc = edit(CompanyField::Ruc);
    ruc->setEnabled(form_.enabled(CompanyField::Ruc));
    paint(ruc, !form_.enabled(CompanyField::Ruc));
    try {
        const std::vector<CompanyRefusal> refusals = form_.load();
        refresh();
        showRefusals(refusals);
    } catch (const DbError &e) {
        refresh();
        showDbError(e);
    }
    const bool percent = form_.percentageVisible();
    lblPorcentaje_->setVisible(percent);
    edit(CompanyField::Porcentaje)->setVisible(percent);
    try {
        lblActivos_->setText(form_.netAssetsLabel());
    } catch (const DbError &e) {
        messenger_.show(MessageIcon::Critical, QStringLiteral("Error"),
                        e.description() + u'\n' + QString::number(e.number()));
    }
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
    move(twipsToPixels(kLeftTwips, dpiX), twipsToPixels(kTopTwips, dpiY));
}

void FrmAgePer::desActiva()
{
    for (QLineEdit *e : edits_) {
        e->setEnabled(false);
        paint(e, true);
    }
    aceptar_->hide();
}

void FrmAgePer::refresh()
{
    ++syncing_;
    for (int i = 0; i < kCompanyFieldCount; ++i) {
        const QString text = form_.text(static_cast<CompanyField>(i));
        if (edits_[static_cast<size_t>(i)]->text() != text) {
            edits_[static_cast<size_t>(i)]->setText(text);
        }
    }
    --syncing_;
}

void FrmAgePer::textEdited(CompanyField f, const QString &text)
{
    if (syncing_ > 0) {
        return;
    }
    try {
        const std::vector<CompanyRefusal> refusals = form_.setText(f, text);
        refresh();
        showRefusals(refusals);
    } catch (const DbError &e) {
        refresh();
        showDbError(e);
    }
}

bool FrmAgePer::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < kCompanyFieldCount; ++i) {
        QLineEdit *e = edits_[static_cast<size_t>(i)];
        if (e != watched) {
            continue;
        }
        const auto f = static_cast<CompanyField>(i);
        try {
            if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
                windowSwitch(static_cast<QFocusEvent *>(event))) {
                // A message box or another window took the keyboard: the field keeps its
                // editing text, as it does when the box is answered.
            } else if (event->type() == QEvent::FocusIn) {
                // Before the field takes the focus, so a Tab still selects the new text.
                form_.enter(f);
                refresh();
            } else if (event->type() == QEvent::FocusOut) {
                form_.leave(f);
                refresh();
            } else if (event->type() == QEvent::KeyPress) {
                return keyPressed(f, e, static_cast<QKeyEvent *>(event));
            }
        } catch (const DbError &err) {
            refresh();
            showDbError(err);
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// Returns true when the key is consumed here.
bool FrmAgePer::keyPressed(CompanyField f, QLineEdit *e, const QKeyEvent *key)
{
    const int code = typedKeyCode(key);
    if (code < 0) {
        return false;
    }
    const int passed = form_.filterKey(f, code, e->text(), e->selectedText().length());
    if (passed == kEnterKey) {
        enterAsTab(QStringLiteral("TAB"), e);
        return true;
    }
    if (passed == 0) {
        return true;
    }
    if (passed != code) {
        e->insert(QString(QChar(passed))); // the letters filter's capital
        return true;
    }
    return false;
}

void FrmAgePer::showRefusal(const CompanyRefusal &refusal)
{
    messenger_.show(MessageIcon::Critical, windowTitle(), refusal.message);
    QLineEdit *e = edit(refusal.focus);
    if (!refusal.onlyWhenEnabled || e->isEnabled()) {
        e->setFocus();
    }
}

void FrmAgePer::showRefusals(const std::vector<CompanyRefusal> &refusals)
{
    for (const CompanyRefusal &r : refusals) {
        showRefusal(r);
    }
}

void FrmAgePer::showDbError(const DbError &e)
{
    messenger_.show(MessageIcon::Critical, QStringLiteral("Error"), e.boxText());
}

bool FrmAgePer::aceptar()
{
    WaitCursor wait;
    try {
        if (const std::optional<CompanyRefusal> refusal = form_.accept()) {
            showRefusal(*refusal);
            return false;
        }
    } catch (const DbError &e) {
        showDbError(e);
        return false;
    }
    stored_ = true;
    return true;
}

void FrmAgePer::salir()
{
    if (form_.asksBeforeLeaving() &&
        messenger_.show(MessageIcon::Question, windowTitle(),
                        QStringLiteral("La información ha sido modificada. ¿Desea guardar los "
                                       "cambios?"),
                        MessageButtons::YesNo, MessageAnswer::Yes) == MessageAnswer::Yes) {
        // The dialog closes whether or not the company could be stored.
        aceptar();
    }
    done(stored_ ? QDialog::Accepted : QDialog::Rejected);
}

void FrmAgePer::reject()
{
    salir();
}

void FrmAgePer::closeEvent(QCloseEvent *event)
{
    event->ignore();
    salir();
}

bool openFrmAgePer(QWidget *parent, Database &db, Messenger &m, const CompanyFormContext &ctx)
{
    FrmAgePer dialog(db, m, ctx, parent);
    dialog.load();
    dialog.exec();
    return dialog.stored();
}

} // namespace qz
