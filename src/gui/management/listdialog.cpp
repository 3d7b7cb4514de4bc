// The list dialogs' shared behaviour.
#include "gui/management/listdialog.h"

#include "gui/declaration/frm731.h"
#include "gui/management/declarationlistmodel.h"
#include "gui/widgets/statusbar.h"
#include "gui/widgets/windowroutines.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace qz {

ManagementListDialog::ManagementListDialog(const ManagementContext &context, const Layout &layout,
                                           QWidget *mainWindow)
    : HelpDialog(layout.helpTopic, mainWindow), context_(context), mainWindow_(mainWindow),
      salirButton_(layout.salirButton), height_(layout.height), width_(layout.width)
{
    setObjectName(QString::fromLatin1(layout.objectName));
    setModal(true);
    prompt_ = new QLabel(this);
    prompt_->setObjectName(QStringLiteral("lblMensaje"));
    prompt_->setWordWrap(true);

    model_ = new DeclarationListModel(context_.db,
                                      DeclarationListQuery::forUser(context_.db, layout.list,
                                                                    context_.formulario,
                                                                    context_.usuario),
                                      layout.headings, layout.formats, this);
    grid_ = listGrid(QStringLiteral("grdDeclaraciones"), this);
    grid_->setModel(model_);
    grid_->horizontalHeader()->setSectionResizeMode(registeredcol::kNombre, QHeaderView::Stretch);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChanged(current.row()); });
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid()) {
            CmdAccion_Click(0);
        }
    });
    // Queued: the view asks for a batch in the middle of its own scrolling or layout, which a
    // modal box must not interrupt.
    connect(
        model_, &DeclarationListModel::fetchFailed, this,
        [this](int number, const QString &description) {
            loadErrorBox(DbError(number, description)).showOn(context_.messenger);
        },
        Qt::QueuedConnection);

    static const char *const names[] = {"cmdAccion_0", "cmdAccion_1", "cmdAccion_2"};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = commandButton(QString::fromUtf8(layout.captions[static_cast<size_t>(i)]),
                                    QString::fromLatin1(names[i]), this);
        connect(buttons_[i], &QPushButton::clicked, this, [this, i] { CmdAccion_Click(i); });
    }
    buttons_[2]->setVisible(layout.thirdButtonShown);

    layout_ = new QVBoxLayout(this);
    layout_->addWidget(prompt_);
    if (layout.frame.isEmpty()) {
        layout_->addWidget(grid_, 1);
    } else {
        auto *frame = new QGroupBox(layout.frame, this);
        frame->setObjectName(QStringLiteral("fraDeclaraciones"));
        auto *inFrame = new QVBoxLayout(frame);
        inFrame->addWidget(grid_);
        layout_->addWidget(frame, 1);
    }
    layout_->addLayout(buttonRow({buttons_[0], buttons_[1], buttons_[2]}));
}

void ManagementListDialog::addBelowList(QWidget *widget)
{
    layout_->insertWidget(layout_->count() - 1, widget);
}

QPushButton *ManagementListDialog::button(int index) const
{
    return index >= 0 && index < 3 ? buttons_[index] : nullptr;
}

void ManagementListDialog::setTexts(const ListDialogTexts &texts)
{
    setWindowTitle(texts.caption);
    prompt_->setText(texts.prompt);
    buttons_[0]->setText(texts.actionButton);
    buttons_[2]->setVisible(texts.showVisualizar);
}

int ManagementListDialog::selectedRow() const
{
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

const ListRow *ManagementListDialog::selectedValues() const
{
    const int row = selectedRow();
    return row >= 0 ? &model_->row(row) : nullptr;
}

bool ManagementListDialog::load()
{
    closing_ = false;
    placeWindow(*this, 0, 0, height_, width_);
    centreOnMainWindow(*this, mainWindow_);
    const WaitCursor wait;
    if (!readList(std::nullopt, 0)) {
        model_->clear();
        return false;
    }
    grid_->resizeColumnsToContents();
    return true;
}

bool ManagementListDialog::readList(const std::optional<ListKey> &keep, int keepRow)
{
    for (int attempt = 1;; ++attempt) {
        try {
            model_->reload(keep);
            break;
        } catch (const DbError &e) {
            loadErrorBox(e).showOn(context_.messenger);
            if (attempt == kLoadAttempts) {
                return false;
            }
        }
    }
    const int rows = model_->rowCount();
    grid_->setEnabled(rows > 0);
    if (rows == 0) {
        return true;
    }
    int row = keep ? model_->rowOf(*keep) : -1;
    if (row < 0) {
        row = std::clamp(keepRow, 0, rows - 1);
    }
    const QModelIndex index = model_->index(row, 0);
    grid_->setCurrentIndex(index);
    grid_->scrollTo(index);
    grid_->setFocus();
    return true;
}

bool ManagementListDialog::refresh()
{
    const int row = selectedRow();
    const std::optional<ListKey> keep =
        row >= 0 ? std::optional<ListKey>(model_->keyOf(row)) : std::nullopt;
    if (!readList(keep, std::max(row, 0))) {
        giveUp();
        return false;
    }
    return true;
}

void ManagementListDialog::giveUp()
{
    model_->clear();
    closing_ = true;
    QDialog::reject();
}

void ManagementListDialog::rowChanged(int row)
{
    // The host publishes only while the dialog is enabled: not while a window it opened is
    // open and the list is read again beneath it.
    if (!isEnabled() || row < 0 || !context_.statusBar) {
        return;
    }
    const StatusFields f = rowStatus(model_->row(row), context_.formulario);
    publishStatus(*context_.statusBar, f.ruc, f.nombre, f.periodo, f.formulario);
}

void ManagementListDialog::CmdAccion_Click(int index)
{
    if (index == salirButton_) {
        salir();
        return;
    }
    if (!isEnabled() || !button(index) || !button(index)->isVisibleTo(this)) {
        return;
    }
    action(index);
}

void ManagementListDialog::whileDisabled(const std::function<void()> &open)
{
    setEnabled(false);
    open();
    setEnabled(true);
}

std::unique_ptr<Frm731> ManagementListDialog::newDeclarationForm()
{
    const Frm731::Context c{
        context_.db,    context_.messenger, context_.statusBar,      context_.sPeriodoActual,
        context_.iModo, context_.usuario,   context_.bRegistraOrden, context_.bRecuperar};
    auto form = std::make_unique<Frm731>(c, mainWindow_);
    connect(form.get(), &Frm731::helpRequested, this, &ManagementListDialog::helpRequested);
    return form;
}

void ManagementListDialog::showError(const DbError &error)
{
    errorBox(error.number(), error.description()).showOn(context_.messenger);
}

void ManagementListDialog::salir()
{
    if (closing_) {
        return;
    }
    closing_ = true;
    if (context_.statusBar) {
        const StatusFields f = salirStatus(selectedValues());
        publishStatus(*context_.statusBar, f.ruc, f.nombre, f.periodo, f.formulario);
    }
    model_->clear();
    QDialog::accept();
}

void ManagementListDialog::reject()
{
    // Escape leaves as "&Salir" does.
    salir();
}

void ManagementListDialog::closeEvent(QCloseEvent *event)
{
    // So does the close box; a dialog already leaving closes.
    if (closing_) {
        event->accept();
        return;
    }
    event->ignore();
    salir();
}

void ManagementListDialog::showDeclaration(const std::function<void(Frm731 &)> &open)
{
    whileDisabled([&] {
        // A fresh declaration window each time: nothing of an earlier one is left over.
        const std::unique_ptr<Frm731> form = newDeclarationForm();
        open(*form);
        form->load();
        form->exec();
    });
    const WaitCursor wait;
    refresh();
}

void ManagementListDialog::deleteSelected(
    const std::function<DialogMessage(const ListRow &)> &question,
    const std::function<void(const ListRow &)> &remove)
{
    const ListRow *selected = selectedValues();
    if (!selected) {
        return;
    }
    // A copy: the grid may read more rows while the question is open.
    const ListRow row = *selected;
    if (question(row).showOn(context().messenger) != MessageAnswer::Yes) {
        return;
    }
    std::optional<DbError> failed;
    {
        const WaitCursor wait;
        try {
            remove(row);
        } catch (const DbError &e) {
            failed = e;
        }
        if (!failed) {
            refresh();
            return;
        }
    }
    showError(*failed);
}

} // namespace qz
