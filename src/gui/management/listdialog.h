// What FrmContAbrir, FrmContAbrirEnv and the print dialog share: the prompt, the grid over a
// batched list (in a frame when the dialog has one), the button array (by default 0 the action,
// 1 "&Salir", 2 "&Visualizar"), double click as button 0, F1, the
// status bar on a row change and on "&Salir", the selected declaration kept across every
// reading of the list, and the list read a bounded number of times before the dialog gives up.
#pragma once

#include "core/management/declarationlists.h"
#include "core/management/listrow.h"
#include "core/shell/columnformat.h"
#include "gui/management/managementcontext.h"

#include "gui/widgets/helpdialog.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace qz {

class DeclarationListModel;
class Frm731;

class ManagementListDialog : public HelpDialog {
    Q_OBJECT
public:
    // How many times a list that cannot be read is tried (a box each time) before the dialog
    // closes; the host tried without end.
    static constexpr int kLoadAttempts = 3;

    QLabel *prompt() const { return prompt_; }
    QTableView *grid() const { return grid_; }
    DeclarationListModel *model() const { return model_; }
    QPushButton *button(int index) const;
    // The selected row of the grid; -1 without one.
    int selectedRow() const;

    // The window's load: placement, centring and the list with its first row selected. False
    // when the list could not be read kLoadAttempts times; the dialog is then not shown.
    bool load();

    // The buttons of the array, as a click runs them (index 0, 1 or 2).
    void CmdAccion_Click(int index);

protected:
    struct Layout {
        const char *objectName;
        DeclarationList list;
        QStringList headings;
        std::vector<ColumnFormat> formats;
        double height; // twips
        double width;
        int helpTopic;
        // The buttons' captions (button 0's may be set later by setTexts) and which one leaves.
        std::array<const char *, 3> captions{"", "&Salir", "&Visualizar"};
        int salirButton = 1;
        bool thirdButtonShown = false;
        QString frame = {}; // the caption of a frame around the list; none when empty
    };
    ManagementListDialog(const ManagementContext &context, const Layout &layout,
                         QWidget *mainWindow);

    // Caption, prompt, the action button's caption and "&Visualizar" shown or not.
    void setTexts(const ListDialogTexts &texts);
    // A widget between the list and the buttons.
    void addBelowList(QWidget *widget);
    const ManagementContext &context() const { return context_; }
    QWidget *mainWindow() const { return mainWindow_; }
    // The selected row's values; nullptr without one.
    const ListRow *selectedValues() const;

    // Buttons 0 and 2 of the derived dialog.
    virtual void action(int index) = 0;
    // What "&Salir" publishes on the status bar.
    virtual StatusFields salirStatus(const ListRow *row) const = 0;
    // The box of a list that cannot be read.
    virtual DialogMessage loadErrorBox(const DbError &error) const = 0;

    // Reads the list again and selects the same declaration while it exists (else the same row
    // position). False when it could not be read: the dialog has closed.
    bool refresh();
    // Runs a window this dialog opens, the dialog disabled until it closes.
    void whileDisabled(const std::function<void()> &open);
    // A fresh declaration window on the main window, its help requests passed on.
    std::unique_ptr<Frm731> newDeclarationForm();
    // A fresh declaration window, set up by open, shown modally while this dialog is disabled;
    // the list is read again afterwards.
    void showDeclaration(const std::function<void(Frm731 &)> &open);
    // The standard error box of an action.
    void showError(const DbError &error);
    // "&Eliminar" on the selected row: its question, then remove(row) with the hourglass, then
    // the list read again; a failure shows the error and leaves the dialog as it was.
    void deleteSelected(const std::function<DialogMessage(const ListRow &)> &question,
                        const std::function<void(const ListRow &)> &remove);

    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool readList(const std::optional<ListKey> &keep, int keepRow);
    void rowChanged(int row);
    void salir();
    void giveUp();

    ManagementContext context_;
    QWidget *mainWindow_ = nullptr;
    QLabel *prompt_ = nullptr;
    QTableView *grid_ = nullptr;
    DeclarationListModel *model_ = nullptr;
    QPushButton *buttons_[3] = {};
    QVBoxLayout *layout_ = nullptr;
    int salirButton_ = 1;
    double height_ = 0;
    double width_ = 0;
    bool closing_ = false;
};

} // namespace qz
