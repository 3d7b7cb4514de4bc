// Frm731's handlers that need a screen: keys in boxes and fields, the editing formats on
// focus, the help lines, the page rules and the activation.
#include "gui/declaration/frm731.h"

#include "core/declaration/boxes.h"
#include "core/declaration/editformat.h"
#include "core/declaration/keyrules.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/windowroutines.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <utility>

namespace qz {

namespace {

constexpr int kPageTopics[] = {1022, 1019, 1021, 1020, 1023};

} // namespace

// The key press in a box: the box's rule, then what it asks of the window.
int Frm731::boxKey(int box, int code)
{
    const KeyOutcome out = boxKeyRule(box, code, model_.representativeType(), centsBox_ == box);
    // The digits after a refused point are its cents: refused as well, until another key.
    centsBox_ = out.centsRefused ? box : 0;
    if (out.openAssistant) {
        QTimer::singleShot(0, this, [this, box] { openAssistant(box); });
    }
    if (out.nextControl) {
        enterAsTab(QStringLiteral("TAB"), boxEdit(box));
    }
    if (out.centsRefused) {
        // Amounts are whole units: say so where the user looks, instead of a silent drop.
        QApplication::beep();
        showHelpLines(box);
    }
    if (out.marksChange) {
        model_.markChanged();
    }
    return out.passed;
}

void Frm731::boxFocusIn(int box)
{
    BoxEdit *edit = boxEdit(box);
    focusedBox_ = box;
    focusedBoxWasEnabled_ = edit->isEnabled();
    showHelpLines(box); // the keyboard user sees the box's help as the pointer would
    if (edit->isReadOnly() || !edit->isEnabled()) {
        return;
    }
    edit->setMaxLength(12);
    const EditFormat f = focusInFormat(box, model_.text(box), model_.documentLength());
    if (f.maxLength > 0) {
        edit->setMaxLength(f.maxLength);
    }
    model_.setText(box, f.text);
}

void Frm731::boxFocusOut(int box)
{
    BoxEdit *edit = boxEdit(box);
    centsBox_ = 0;
    const bool disabledMeanwhile = focusedBoxWasEnabled_ && !edit->isEnabled();
    focusedBox_ = 0;
    if ((edit->isReadOnly() || !edit->isEnabled()) && !disabledMeanwhile) {
        return;
    }
    const EditFormat f =
        focusOutFormat(box, model_.text(box), model_.documentLength(), disabledMeanwhile);
    if (f.maxLength > 0) {
        edit->setMaxLength(f.maxLength);
    }
    model_.setText(box, f.text);
}

void Frm731::showHelpLines(int box)
{
    const BoxInfo *info = boxInfo(box);
    const HelpLines h = boxHelpLines(box, info ? info->page : tabs_->currentIndex(),
                                     model_.answer(Answer::Ajuste) == QLatin1String("1"));
    ayuda_->setText(h.first);
    QPalette p = ayuda_->palette();
    p.setColor(QPalette::Text, h.firstBlue ? QColor(0x00, 0x00, 0xC0) : QColor(Qt::black));
    ayuda_->setPalette(p);
    if (!h.keepSecond) {
        ayuda1_->setText(h.second);
    }
}

// Back to page 0 with a message and the focus on the field to mend.
void Frm731::backToIdentification(const QString &message, QWidget *focus)
{
    {
        const Syncing s(syncing_);
        tabs_->setCurrentIndex(0);
    }
    tell(MessageIcon::Critical, message);
    if (focus && focus->isEnabled()) {
        focus->setFocus();
    }
}

// Changing page: a new declaration needs its taxpayer and a complete exercise first.
void Frm731::pageChanged(int page)
{
    if (syncing_) {
        return;
    }
    model_.leaveExercise();
    QLineEdit *periodo = fieldEdit(Field::Periodo);
    if (model_.iModo() == 0 && page != 0) {
        if (model_.taxpayerListText().left(11).trimmed().isEmpty()) {
            backToIdentification(QStringLiteral("Ingrese el RUC."), cmbRuc_);
            return;
        }
        if (periodo->displayText().contains(u'_')) {
            backToIdentification(QStringLiteral("El ejercicio no es válido."), periodo);
            return;
        }
    }
    helpTopic_ = kPageTopics[page];
    enterPage(page);
}

// Entering a page (also when the tab strip receives the focus): the identification gate,
// the page memory and the page's first field.
void Frm731::enterPage(int page)
{
    const WaitCursor wait;
    QLineEdit *periodo = fieldEdit(Field::Periodo);
    if (page != 0) {
        if (!ValidaContForm1()) {
            const Syncing s(syncing_);
            tabs_->setCurrentIndex(0);
            return;
        }
        if (model_.iModo() == 0 && model_.taxpayerListText().left(11).trimmed().isEmpty()) {
            backToIdentification(QStringLiteral("Ingrese el RUC."), cmbRuc_);
            return;
        }
        if (model_.iModo() == 0 && periodo->displayText().contains(u'_')) {
            backToIdentification(QStringLiteral("El período no es válido."), periodo);
            return;
        }
    }
    helpTopic_ = kPageTopics[page];
    model_.setPageMemory(page);
    if (model_.iModo() == 0 && (page == 1 || page == 2)) {
        // From here on the taxpayer and the exercise of a new declaration stay as they are.
        cmbRuc_->setEnabled(false);
        periodo->setEnabled(false);
    }
    QWidget *focus = nullptr;
    switch (page) {
    case 0:
        focus = model_.bHistorico() && fieldEdit(Field::NumOrden)->isEnabled()
                    ? fieldEdit(Field::NumOrden)
                    : fieldEdit(Field::Telefono);
        break;
    case 2:
        focus = boxEdit(101);
        break;
    case 3:
        focus = boxEdit(160)->isReadOnly() ? boxEdit(144) : boxEdit(160);
        break;
    case 4:
        focus = cboTipDocRepLegal_;
        break;
    default:
        break;
    }
    if (focus && focus->isEnabled()) {
        focus->setFocus();
    }
}

void Frm731::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) {
        return;
    }
    if (!isActiveWindow()) {
        // A message box takes the activation without the window being left: coming back
        // from it keeps the focus where its message put it (the field to mend).
        afterMessage_ = qobject_cast<QMessageBox *>(QApplication::activeWindow()) != nullptr;
        return;
    }
    // Activation: the focus goes where the declaration's kind wants it, then the companies
    // list is refreshed and the box-110 assistant amounts are read again.
    QWidget *focus = nullptr;
    if (std::exchange(afterMessage_, false)) {
        // the message already put the focus where it belongs
    } else if (!model_.algunCambio() && model_.pageMemory() == 0 && model_.bHistorico()) {
        focus = fieldEdit(Field::NumOrden);
    } else if (model_.iModo() == 0) {
        focus = cmbRuc_;
    } else {
        focus = fieldEdit(Field::Telefono);
    }
    if (focus && focus->isEnabled() && focus->isVisible()) {
        focus->setFocus();
    }
    showCompanies();
    model_.CoefIni();
}

void Frm731::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(helpTopic_);
        return;
    }
    QDialog::keyPressEvent(event);
}

void Frm731::mouseMoveEvent(QMouseEvent *event)
{
    const HelpLines h = generalHelpLines(tabs_->currentIndex());
    ayuda_->setText(h.first);
    ayuda1_->setText(h.second);
    QDialog::mouseMoveEvent(event);
}

// The key handling of the fields that are not boxes, and the pointer over the frames.
bool Frm731::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tabs_->tabBar() && event->type() == QEvent::FocusIn && !syncing_ &&
        static_cast<QFocusEvent *>(event)->reason() == Qt::TabFocusReason) {
        // Tab onto the tab strip enters its page. Shift+Tab does not, or it could never leave
        // the page's first field backwards.
        QTimer::singleShot(0, this, [this] { enterPage(tabs_->currentIndex()); });
    }
    if (watched == companiesFrame_ && event->type() == QEvent::MouseMove) {
        const HelpLines h = generalHelpLines(tabs_->currentIndex());
        ayuda_->setText(h.first);
        ayuda1_->setText(h.second);
    }
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto *key = static_cast<QKeyEvent *>(event);
    for (auto &[f, edit] : fields_) {
        if (edit != watched) {
            continue;
        }
        const int code = typedKeyCode(key);
        if (code < 0) {
            return false; // navigation, editing keys and shortcuts
        }
        const int passed = fieldKey(f, code);
        if (passed != 0 && passed != code) {
            edit->insert(QString(QChar(passed))); // the filter's upper case
        }
        return passed != code;
    }
    return QDialog::eventFilter(watched, event);
}

int Frm731::fieldKey(Field f, int code)
{
    const KeyOutcome out = fieldKeyRule(f, code);
    if (out.nextControl) {
        enterAsTab(QStringLiteral("TAB"), fieldEdit(f));
    }
    if (out.marksChange) {
        model_.markChanged();
    }
    return out.passed;
}

} // namespace qz
