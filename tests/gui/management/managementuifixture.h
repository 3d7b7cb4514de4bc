// The management dialogs' widget tests: the management fixture (a fresh installation with the
// module, the clock pinned to 1 June 2026, scripted messages, registered and sent rows), plus a
// status bar, the text utility, the dialogs opened as the main window opens them, and a way to
// act on a window that a dialog opens modally.
#pragma once

#include "core/management/managementfixture.h"
#include "gui/management/declarationlistmodel.h"
#include "gui/management/frmcontabrir.h"
#include "gui/management/frmcontabrirenv.h"
#include "gui/management/managementcontext.h"
#include "gui/widgets/statusbar.h"

#include <QApplication>
#include <QTableView>
#include <QTimer>

#include <functional>
#include <memory>

namespace qz::test {

// Runs action on the first window of type Window that becomes the active modal window (a
// dialog's action blocks in its exec()). The watch ends when the object goes, or after five
// seconds, so a window that never opens cannot reach the next test; opened() says whether the
// action ran.
template <typename Window> class WhenModal final {
public:
    explicit WhenModal(std::function<void(Window &)> action) : action_(std::move(action))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto *w = qobject_cast<Window *>(QApplication::activeModalWidget());
            if (w || ++tries_ > 500) {
                timer_.stop();
            }
            if (w) {
                opened_ = true;
                action_(*w);
            }
        });
        timer_.start();
    }
    bool opened() const { return opened_; }

private:
    std::function<void(Window &)> action_;
    QTimer timer_;
    int tries_ = 0;
    bool opened_ = false;
};

class ManagementUiTest : public ManagementTest {
protected:
    ManagementContext context(int iModo, bool registraOrden = false, bool recuperar = false)
    {
        return {db_,    messages_, utility_, &bar_,         &periodo_,
                "0731", usuario_,  iModo,    registraOrden, recuperar};
    }
    // A list dialog loaded and on screen, as the main window shows it.
    std::unique_ptr<FrmContAbrir> registeredList(int iOpcion)
    {
        auto d = std::make_unique<FrmContAbrir>(context(1), iOpcion, nullptr);
        EXPECT_TRUE(d->load());
        d->show();
        return d;
    }
    std::unique_ptr<FrmContAbrirEnv> sentList(int iModo, bool registraOrden = false,
                                              bool recuperar = false)
    {
        auto d =
            std::make_unique<FrmContAbrirEnv>(context(iModo, registraOrden, recuperar), nullptr);
        EXPECT_TRUE(d->load());
        d->show();
        return d;
    }
    // The row of the list whose first and third columns (number and period) are these.
    static int rowOf(const ManagementListDialog &d, const QString &ruc, const QString &periodo,
                     const QString &correl = {})
    {
        for (int r = 0; r < d.model()->rowCount(); ++r) {
            const ListRow &row = d.model()->row(r);
            if (row.at(0).toText() == ruc && row.at(2).toText() == periodo &&
                (correl.isEmpty() || row.at(7).toText() == correl)) {
                return r;
            }
        }
        return -1;
    }
    static void select(ManagementListDialog &d, int row)
    {
        ASSERT_GE(row, 0);
        d.grid()->setCurrentIndex(d.model()->index(row, 0));
    }

    QString usuario_ = "USUARIO0"; // type "0": every taxpayer
    TextUtility utility_;
    BarradeEstadoZEB bar_;
    QString periodo_;
};

} // namespace qz::test
