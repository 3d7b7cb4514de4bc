// Frm731's commands: "&Validar", "&Grabar" (the save, or the order number of a sent
// declaration), "&Salir" with its save question, and the identification gate on leaving
// page 0.
#include "gui/declaration/frm731.h"

#include "core/data/config.h"
#include "core/data/paths.h"
#include "core/validation/companylist.h"
#include "core/validation/declarationreview.h"
#include "core/validation/declarationsave.h"
#include "gui/declaration/frmanexo105.h"
#include "gui/declaration/frmanexo110.h"
#include "gui/validation/frmageper.h"
#include "gui/validation/frmconsist.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/statusbar.h"
#include "gui/widgets/windowroutines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace qz {

QString Frm731::mensPath() const
{
    return joinPath(normalizedDir(readOption(QStringLiteral("SysPath"))),
                    QStringLiteral("Mens.txt"));
}

void Frm731::tell(MessageIcon icon, const QString &text, const QString &title)
{
    context_.messenger.show(
        icon, title.isEmpty() ? QString::fromLatin1(DeclarationModel::kCaption) : title, text);
}

void Frm731::showStop(const ReviewStop &stop)
{
    if (stop.page >= 0) {
        const Syncing s(syncing_);
        tabs_->setCurrentIndex(stop.page);
    }
    tell(MessageIcon::Critical, stop.message);
    QWidget *focus = nullptr;
    switch (stop.focus) {
    case ReviewStop::Focus::Box:
        focus = boxEdit(stop.box);
        break;
    case ReviewStop::Focus::Field:
        focus = fieldEdit(stop.field);
        break;
    case ReviewStop::Focus::TaxpayerList:
        focus = cmbRuc_;
        break;
    case ReviewStop::Focus::ReorgList:
        focus = cmbModPer_;
        break;
    case ReviewStop::Focus::Salir:
        focus = salir_;
        break;
    case ReviewStop::Focus::None:
        break;
    }
    if (focus && focus->isEnabled()) {
        focus->setFocus();
    }
}

void Frm731::CmdOpciones_Click(int index)
{
    const int row = companies_->currentRow();
    const QString selected =
        row >= 0 && companies_->item(row, 0) ? companies_->item(row, 0)->text() : QString();
    CompanyFormContext ctx;
    ctx.declarantRuc = model_.taxpayerRuc().trimmed();
    ctx.exercise = model_.field(Field::Periodo).trimmed();
    ctx.reorgType = model_.tipoReorg();
    ctx.readOnly = model_.bHistorico();
    if (index == 0) {
        ctx.mode = QStringLiteral("0");
        openFrmAgePer(this, context_.db, context_.messenger, ctx);
        model_.markChanged();
    } else if (index == 1) {
        if (companies_->rowCount() == 0) {
            return;
        }
        ctx.mode = QStringLiteral("1");
        ctx.selectedRuc = selected.isEmpty() ? companies_->item(0, 0)->text() : selected;
        openFrmAgePer(this, context_.db, context_.messenger, ctx);
        model_.markChanged();
    } else if (index == 2) {
        if (companies_->rowCount() == 0) {
            return;
        }
        // Without a selection the current row is meant, as for "&Modificar".
        const QString ruc = selected.isEmpty() ? companies_->item(0, 0)->text() : selected;
        if (confirmDeleteCompany(context_.db, context_.messenger,
                                 QString::fromLatin1(DeclarationModel::kCaption), ruc)) {
            model_.markChanged();
        }
    }
    showCompanies();
}

void Frm731::openAssistant(int box)
{
    BoxEdit *edit = boxEdit(box);
    double total = 0;
    if (box == 105) {
        total = openFrmAnexo105(this, context_.db, context_.messenger, model_.taxpayerRuc(),
                                model_.iModo(), model_.bHistorico(), model_.sCorrel(),
                                model_.sPeriodo(), model_.sFormulario());
    } else {
        QString mtoDet = model_.mtoDet();
        QString mtoNet = model_.mtoNet();
        total = openFrmAnexo110(this, context_.messenger, model_.text(110), mtoDet, mtoNet);
        model_.setRatioAmounts(mtoDet, mtoNet);
    }
    // Box 105 is at once the sum of the assistant's stored rows; box 110 keeps the ratio.
    model_.setText(box, QString::number(total, 'g', 15));
    QApplication::processEvents();
    edit->setFocus();
    QApplication::processEvents();
    enterAsTab(QStringLiteral("TAB"), edit);
}

bool Frm731::ValidaContForm1()
{
    const std::optional<ReviewStop> stop = DeclarationReview(model_).ValidaContForm1();
    if (stop) {
        showStop(*stop);
    }
    return !stop;
}

void Frm731::CmdValidar_Click()
{
    model_.leaveExercise();
    ReviewResult review;
    {
        const WaitCursor wait;
        review = DeclarationReview(model_).ValidaDeclaracion(mensPath());
    }
    if (review.stop) {
        showStop(*review.stop);
        return;
    }
    for (const QString &notice : DeclarationSave::paymentNotices(model_)) {
        tell(MessageIcon::Information, notice);
    }
    if (const std::optional<ReviewStop> stop = DeclarationReview(model_).CmdValidarChecks()) {
        showStop(*stop);
        return;
    }
    if (!review.lines.isEmpty() && saveState_ == 3) {
        // Leaving through "&Salir": the list counts as accepted without being shown.
    } else if (!review.lines.isEmpty()) {
        const int page = tabs_->currentIndex();
        if (page == 4) {
            const Syncing s(syncing_);
            tabs_->setCurrentIndex(0);
        }
        FrmConsist list(mensPath(), context_.messenger, this);
        connect(&list, &FrmConsist::goTo, this, [this](int target, int box) {
            const Syncing s(syncing_);
            tabs_->setCurrentIndex(target);
            if (BoxEdit *e = boxEdit(box); e && e->isEnabled()) {
                e->setFocus();
            }
        });
        list.exec();
        if (page == 4 && tabs_->currentIndex() == 0) {
            const Syncing s(syncing_);
            tabs_->setCurrentIndex(4);
        }
    } else {
        tell(MessageIcon::Exclamation, QStringLiteral("La información de la declaración no "
                                                      "presenta inconsistencias."));
        if (saveState_ == 3) {
            accept(); // the window was being left
            return;
        }
    }
    saveState_ = 2;
}

bool Frm731::CmdGrabar_Click()
{
    model_.leaveExercise();
    SaveOutcome out;
    {
        const WaitCursor wait;
        DeclarationSave save(model_);
        out = model_.bHistorico() ? save.registerOrder() : save.CmdGrabar();
    }
    if (out.stop) {
        if (model_.bHistorico()) {
            tell(MessageIcon::Information, out.stop->message);
        } else {
            showStop(*out.stop);
        }
        return false;
    }
    if (!out.error.isEmpty()) {
        // Everything was rolled back: the declaration stays on the window to be saved again.
        tell(MessageIcon::Critical, out.error);
        return false;
    }
    if (model_.bHistorico()) {
        tell(out.finalIcon, out.finalMessage, QStringLiteral("Mensaje"));
        accept();
        return true;
    }
    for (const QString &notice : out.notices) {
        tell(MessageIcon::Information, notice);
    }
    if (!out.finalMessage.isEmpty()) {
        tell(out.finalIcon, out.finalMessage);
    }
    // A saved new declaration now has its header: a later "&Salir" must not remove it.
    model_.markSaved();
    drafts_.removeDraft();
    saveState_ = 1;
    return true;
}

bool Frm731::hasUnsavedWork() const
{
    if (!model_.bHistorico()) {
        return model_.algunCambio();
    }
    // A sent declaration changes only by the order number typed in registration mode; its
    // save question registers it.
    return context_.bRegistraOrden && !context_.bRecuperar &&
           (model_.field(Field::NumOrden) != loadedOrder_.first ||
            model_.field(Field::NumOrdenCheck) != loadedOrder_.second);
}

void Frm731::reject()
{
    salir();
}

void Frm731::closeEvent(QCloseEvent *event)
{
    event->ignore(); // salir() closes the window when the user may leave
    salir();
}

void Frm731::salir()
{
    saveState_ = 3;
    model_.leaveExercise();
    if (hasUnsavedWork()) {
        const MessageAnswer a = context_.messenger.show(
            MessageIcon::Question, QString::fromLatin1(DeclarationModel::kCaption),
            QStringLiteral("¿La declaración ha sido modificada, desea guardar los cambios?"),
            MessageButtons::YesNo, MessageAnswer::Yes);
        if (a == MessageAnswer::Yes) {
            // A save that did not happen keeps the window open: nothing typed is lost.
            if (CmdGrabar_Click()) {
                drafts_.stop();
                accept();
            }
            return;
        }
    }
    // Left without saving, on purpose: the draft goes with the changes.
    drafts_.removeDraft();
    drafts_.stop();
    model_.limpiaProvisional();
    publish(QString(), QString(), model_.sPeriodo(), model_.sFormulario());
    accept();
}

} // namespace qz
