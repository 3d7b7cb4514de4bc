// The box-110 assistant window: layout, binding to Anexo110, keys and focus formats.
#include "gui/declaration/frmanexo110.h"

#include "core/components/textutility.h"
#include "core/data/format.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/windowroutines.h"

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

constexpr const char *kLabels[Anexo110::kFields] = {
    "Ingresos afectos al Impuesto a la Renta",
    "Total de ingresos del ejercicio anterior",
    "Porcentaje de ingresos afectos al IR",
};

// A field's maximum length without cutting a longer text already in it.
void setLimit(QLineEdit *edit, int length)
{
    edit->setMaxLength(std::max<int>(length, edit->text().size()));
}

} // namespace

FrmAnexo110::FrmAnexo110(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAnexo110"));
    setWindowTitle(QString::fromUtf8(kCaption));

    auto *grid = new QGridLayout;
    const TextUtility textUtility;
    for (int i = 0; i < Anexo110::kFields; ++i) {
        QLineEdit *edit = nullptr;
        if (i == Anexo110::kRatioField) {
            edit = new QLineEdit(this);
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
            QPalette p = edit->palette();
            p.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
            edit->setPalette(p);
            blockPasting(*edit);
        } else {
            auto *amount = new BoxEdit(i, this);
            amount->keyFilter = [amount, textUtility](int code) {
                if (code == kEnterKey) {
                    enterAsTab(QStringLiteral("TAB"), amount);
                    return 0;
                }
                return textUtility.numericKeyFilter(code, false, false, false);
            };
            amount->installEventFilter(this);
            edit = amount;
        }
        edit->setObjectName(QStringLiteral("TxtMonto_%1").arg(i));
        edit->setAlignment(Qt::AlignRight);
        edit->setMinimumWidth(130);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { fieldChanged(i); });
        grid->addWidget(new QLabel(QString::fromUtf8(kLabels[i]), this), i, 0);
        grid->addWidget(edit, i, 1);
        fields_[static_cast<size_t>(i)] = edit;
    }

    aceptar_ = commandButton(QStringLiteral("&Aceptar"), QStringLiteral("CmdAceptar"), this);
    cancelar_ = commandButton(QStringLiteral("&Cancelar"), QStringLiteral("CmdCancelar"), this);
    connect(aceptar_, &QPushButton::clicked, this, &FrmAnexo110::onAceptar);
    connect(cancelar_, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttonRow({aceptar_, cancelar_}));
}

void FrmAnexo110::load(const QString &box110Text, const QString &mtoDet, const QString &mtoNet)
{
    anexo_.load(box110Text, mtoDet, mtoNet);
    mtoDet_ = mtoDet;
    mtoNet_ = mtoNet;
    // The opening texts as they are: a change here would put the ratio of the stored
    // amounts in place of the box's own value.
    loading_ = true;
    for (int i = 0; i < Anexo110::kFields; ++i) {
        fieldEdit(i)->setText(anexo_.field(i));
    }
    loading_ = false;
}

bool FrmAnexo110::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A message box or a menu taking the focus for a moment is no leaving of the field;
        // coming back shows the edited text again, which it already is.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool passing =
            reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        const auto it = std::find(fields_.begin(), fields_.end(), watched);
        if (it != fields_.end() && (event->type() == QEvent::FocusIn || !passing)) {
            reformat(static_cast<int>(it - fields_.begin()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmAnexo110::fieldChanged(int index)
{
    if (loading_) {
        return;
    }
    anexo_.change(index, fieldEdit(index)->text());
    if (index != Anexo110::kRatioField) {
        fieldEdit(Anexo110::kRatioField)->setText(anexo_.field(Anexo110::kRatioField));
    }
}

// Gaining and losing the focus show the same plain number.
void FrmAnexo110::reformat(int index)
{
    QLineEdit *edit = fieldEdit(index);
    edit->setText(formatText(edit->text(), QString::fromLatin1(Anexo110::kEditPattern)));
    setLimit(edit, Anexo110::kEditLength);
}

void FrmAnexo110::onAceptar()
{
    anexo_.accept(mtoDet_, mtoNet_);
    accept();
}

double openFrmAnexo110(QWidget *parent, Messenger & /*m*/, const QString &box110Text,
                       QString &mtoDet, QString &mtoNet)
{
    FrmAnexo110 window(parent);
    window.load(box110Text, mtoDet, mtoNet);
    if (window.exec() == QDialog::Accepted) {
        mtoDet = window.mtoDet();
        mtoNet = window.mtoNet();
    }
    return window.dTotal();
}

} // namespace qz
