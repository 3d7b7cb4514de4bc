// The box-105 assistant window: layout, binding to Anexo105, keys, focus formats, messages.
#include "gui/declaration/frmanexo105.h"

#include "core/components/textutility.h"
#include "core/data/format.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/windowroutines.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qz {

namespace {

// The deductions in the order of their fields: the description and the letter of its inciso
// (none for "Otros").
struct Deduction {
    const char *text;
    char inciso;
};

constexpr Deduction kDeductions[Anexo105::kFields] = {
    {"Acciones, participaciones o derechos de capital de otras empresas sujetas al OKRE excepto "
     "las exoneradas.",
     'a'},
    {"Maquinarias y equipos que no tengan una antigüedad superior a los tres (3) años.", 'b'},
    {"Encaje exigible y provisiones especificas por riesgo crediticio establecido por la SBS.",
     'c'},
    {"Cuentas de existencias y cuentas por cobrar producto de operaciones de exportación de "
     "empresas exportadoras.",
     'd'},
    {"Las acciones así como los derechos y reajustes de dichas acciones de propiedad del Estado "
     "en la CAF.",
     'e'},
    {"Los activos que respaldan las reservas matemáticas de los seguros de vida de las empresas "
     "de seguros de la Ley 26702.",
     'f'},
    {"Inmuebles, museos y colecciones privadas de objetos culturales calificados como patrimonio "
     "cultural por el INC.",
     'g'},
    {"Los bienes entregados en concesión por el Estado para la prestación de servicios públicos "
     "y las obras que los concesionarios realicen sobre ellos.",
     'h'},
    {"Las acciones y derechos de capital de empresas con convenio que estabilizó el régimen del "
     "Impuesto Mínimo a la Renta, excepto las exoneradas de dicho impuesto.",
     'i'},
    {"El mayor valor originado por la revaluación voluntaria de activos conforme al inciso 2) "
     "del artículo 104 de la Ley del Impuesto a la Renta.",
     'j'},
    {"Otros", 0},
};

const QColor kGrey(0xC0, 0xC0, 0xC0);

void paintGrey(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, kGrey);
    w->setPalette(p);
}

// A field's maximum length without cutting a longer text already in it: the limit is for
// typing.
void setLimit(QLineEdit *edit, int length)
{
    edit->setMaxLength(std::max<int>(length, edit->text().size()));
}

QString errorText(const DbError &e)
{
    return e.boxText();
}

} // namespace

FrmAnexo105::FrmAnexo105(Database &db, Messenger &messenger, QWidget *parent)
    : QDialog(parent), db_(db), messenger_(messenger)
{
    setObjectName(QStringLiteral("FrmAnexo105"));
    setWindowTitle(QString::fromUtf8(kCaption));

    auto *grid = new QGridLayout;
    auto *tipo = new QLabel(QString::fromUtf8("Tipo de Deducción"), this);
    auto *monto = new QLabel(QStringLiteral("Monto"), this);
    QFont bold = tipo->font();
    bold.setBold(true);
    tipo->setFont(bold);
    monto->setFont(bold);
    grid->addWidget(tipo, 0, 0);
    grid->addWidget(monto, 0, 1, Qt::AlignHCenter);

    const TextUtility textUtility;
    for (int i = 0; i < Anexo105::kFields; ++i) {
        const Deduction &d = kDeductions[i];
        QString text = QString::fromUtf8(d.text);
        if (d.inciso != 0) {
            text += u'\n' + QString::fromUtf8("Inciso %1) del artículo 5° de la Ley 28424")
                                .arg(QChar::fromLatin1(d.inciso));
        }
        auto *label = new QLabel(text, this);
        label->setWordWrap(true);
        label->setMinimumWidth(440);
        auto *edit = new BoxEdit(i, this);
        edit->setObjectName(QStringLiteral("TxtMonto_%1").arg(i));
        edit->setMaxLength(Anexo105::kShownLength);
        edit->setMinimumWidth(130);
        edit->keyFilter = [edit, textUtility](int code) {
            if (code == kEnterKey) {
                enterAsTab(QStringLiteral("TAB"), edit);
                return 0;
            }
            return textUtility.numericKeyFilter(code, false, false, false);
        };
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { amountChanged(i); });
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(edit, i + 1, 1, Qt::AlignTop);
        amounts_[static_cast<size_t>(i)] = edit;
    }

    total_ = new QLineEdit(this);
    total_->setObjectName(QStringLiteral("TxtTotal"));
    total_->setReadOnly(true);
    total_->setFocusPolicy(Qt::NoFocus);
    total_->setAlignment(Qt::AlignRight);
    total_->setMinimumWidth(130);
    paintGrey(total_);
    blockPasting(*total_);
    auto *totalCaption = new QLabel(QStringLiteral("Total Deducciones :"), this);
    totalCaption->setFont(bold);
    grid->addWidget(totalCaption, Anexo105::kFields + 1, 0, Qt::AlignRight);
    grid->addWidget(total_, Anexo105::kFields + 1, 1);

    aceptar_ = commandButton(QStringLiteral("&Aceptar"), QStringLiteral("CmdAceptar"), this);
    cancelar_ = commandButton(QStringLiteral("&Cancelar"), QStringLiteral("CmdCancelar"), this);
    connect(aceptar_, &QPushButton::clicked, this, &FrmAnexo105::onAceptar);
    connect(cancelar_, &QPushButton::clicked, this, &FrmAnexo105::onCancelar);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttonRow({aceptar_, cancelar_}));
}

bool FrmAnexo105::load()
{
    try {
        const WaitCursor hourglass;
        anexo_.load(db_, sRuc, periodo, formulario, bHistorico, sCorrel);
    } catch (const DbError &e) {
        showError(errorText(e));
        return false;
    }
    loading_ = true;
    for (int i = 0; i < Anexo105::kFields; ++i) {
        // A stored amount is never cut.
        amountEdit(i)->setMaxLength(std::max<int>(Anexo105::kShownLength, anexo_.amount(i).size()));
        amountEdit(i)->setText(anexo_.amount(i));
        if (bHistorico) {
            amountEdit(i)->setReadOnly(true);
            paintGrey(amountEdit(i));
        }
    }
    loading_ = false;
    total_->setText(anexo_.totalText());
    aceptar_->setVisible(!bHistorico);
    return true;
}

void FrmAnexo105::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // The first activation starts at the first amount; later ones (after a message) do not.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
        activated_ = true;
        if (amountEdit(0)->isEnabled()) {
            amountEdit(0)->setFocus();
        }
    }
}

bool FrmAnexo105::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A message box or a menu taking the focus for a moment is no leaving of the field;
        // coming back shows the edited text again, which it already is.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool passing =
            reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        const auto it = std::find(amounts_.begin(), amounts_.end(), watched);
        if (it != amounts_.end() && (event->type() == QEvent::FocusIn || !passing)) {
            const int field = static_cast<int>(it - amounts_.begin());
            if (event->type() == QEvent::FocusIn) {
                focusIn(field);
            } else {
                focusOut(field);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmAnexo105::amountChanged(int field)
{
    if (loading_) {
        return;
    }
    BoxEdit *edit = amountEdit(field);
    const Anexo105::Change result = anexo_.change(field, edit->text());
    if (result != Anexo105::Change::Counted) {
        showError(QStringLiteral("Verificar los Montos Ingresados."));
        if (result == Anexo105::Change::OverLimit) {
            edit->clear();
        }
        edit->setFocus();
    }
    total_->setText(anexo_.totalText());
}

void FrmAnexo105::focusIn(int field)
{
    QLineEdit *edit = amountEdit(field);
    edit->setText(formatText(edit->text(), QString::fromLatin1(Anexo105::kEditPattern)));
    setLimit(edit, Anexo105::kEditLength);
}

void FrmAnexo105::focusOut(int field)
{
    QLineEdit *edit = amountEdit(field);
    setLimit(edit, Anexo105::kShownLength);
    edit->setText(formatText(edit->text(), QString::fromLatin1(Anexo105::kShownPattern)));
}

void FrmAnexo105::onAceptar()
{
    try {
        const WaitCursor hourglass;
        dTotal = anexo_.accept(db_, sRuc, periodo, formulario, iAccion);
    } catch (const DbError &e) {
        // Nothing was written; the amounts stay on screen to try again or cancel.
        showError(errorText(e));
        return;
    }
    accept();
}

void FrmAnexo105::onCancelar()
{
    const WaitCursor hourglass;
    reject();
}

void FrmAnexo105::showError(const QString &text)
{
    messenger_.show(MessageIcon::Critical, QString::fromUtf8(kCaption), text);
}

double openFrmAnexo105(QWidget *parent, Database &db, Messenger &m, const QString &ruc, int iAccion,
                       bool bHistorico, const QString &sCorrel, const QString &periodo,
                       const QString &formulario)
{
    FrmAnexo105 window(db, m, parent);
    window.sRuc = ruc;
    window.iAccion = iAccion;
    window.bHistorico = bHistorico;
    window.sCorrel = sCorrel;
    window.periodo = periodo;
    window.formulario = formulario;
    if (!window.load()) {
        return 0;
    }
    window.exec();
    return window.dTotal;
}

} // namespace qz
