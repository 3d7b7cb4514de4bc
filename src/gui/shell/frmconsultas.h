// FrmConsultas: the read-only list of the banks (mode 1) or of the tax unit's values by date
// (mode 3) in a two-column grid, with the button "&Salir".
#pragma once

#include "core/data/database.h"
#include "core/data/messenger.h"

#include "gui/widgets/helpdialog.h"

class QPushButton;
class QTableView;

namespace qz {

class ResultTableModel;

class FrmConsultas final : public HelpDialog {
    Q_OBJECT
public:
    // Loads the list of the mode at once; a database error is shown (title "Error": number,
    // line feed, description) and leaves the grid empty and disabled.
    FrmConsultas(Database &db, int iModo, Messenger &messenger, QWidget *mainWindow);

    QTableView *grid() const { return grid_; }
    ResultTableModel *model() const { return model_; }

    // The window's help topic.
    static constexpr int kHelpTopic = 1008;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load(Database &db, int iModo, Messenger &messenger);

    QTableView *grid_ = nullptr;
    ResultTableModel *model_ = nullptr;
    QPushButton *salir_ = nullptr;
};

} // namespace qz
