// The print dialog.
#include "gui/printing/frmtipprnr.h"

#include "core/management/printlist.h"
#include "core/reports/declarationreport.h"
#include "core/reports/previewrequest.h"
#include "core/reports/registeredreport.h"
#include "gui/printing/frmimpxpag.h"
#include "gui/printing/previewopen.h"
#include "gui/widgets/windowroutines.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace qz {

ManagementListDialog::Layout FrmTipPrnR::layoutFor(bool bHistorico)
{
    Layout l{"FrmTipPrnR",
             bHistorico ? DeclarationList::Sent : DeclarationList::PrintRegistered,
             FrmTipPrnRHeadings(),
             {{}, {}, {}, {}, {}, {QStringLiteral("dd/mm/yyyy")}},
             4530,
             bHistorico ? 9195.0 : 7000.0,
             bHistorico ? FrmTipPrnR::kHelpSent : FrmTipPrnR::kHelpRegistered};
    l.captions = {"&Preliminar", "&Imprimir", "&Salir"};
    l.salirButton = 2;
    l.thirdButtonShown = true;
    l.frame = FrmTipPrnRTexts(bHistorico).frame;
    return l;
}

FrmTipPrnR::FrmTipPrnR(const ManagementContext &context, bool bHistorico, QString rptDir,
                       QWidget *mainWindow)
    : ManagementListDialog(context, layoutFor(bHistorico), mainWindow), bHistorico_(bHistorico),
      rptDir_(std::move(rptDir))
{
    const PrintDialogTexts texts = FrmTipPrnRTexts(bHistorico);
    setWindowTitle(texts.caption);
    prompt()->setText(texts.prompt);
    anexo_ = new QCheckBox(QStringLiteral("Anexo Casilla 105"), this);
    anexo_->setObjectName(QStringLiteral("chkAnexo"));
    addBelowList(anexo_);
    // The check box comes between the list and the buttons for Tab too, as it stands.
    setTabOrder(grid(), anexo_);
    setTabOrder(anexo_, button(0));
    if (!bHistorico) {
        for (int column = printcol::kNorden; column <= printcol::kCorrel; ++column) {
            grid()->setColumnHidden(column, true);
        }
        grid()->setColumnWidth(printcol::kNombre, 3300 * logicalDpiX() / 1440);
    }
    grid()->installEventFilter(this);
}

bool FrmTipPrnR::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the list asks for the preview, as a double click does.
    if (watched == grid() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CmdAccion_Click(0);
            return true;
        }
    }
    return ManagementListDialog::eventFilter(watched, event);
}

void FrmTipPrnR::action(int index)
{
    if (index == 0) {
        preliminar();
    } else if (index == 1) {
        imprimir();
    }
}

std::optional<PreviewRequest> FrmTipPrnR::writeReport()
{
    const ListRow *row = selectedValues();
    if (!row) {
        return std::nullopt;
    }
    const DeclarationSelection selection = printSelection(*row, bHistorico_, anexo_->isChecked());
    const SpoolEntry entry{printReportCode(selection.annex), 6, selection.ruc, context().usuario};
    RegisteredReport report;
    {
        const WaitCursor wait;
        report = writeRegisteredReport(context().db, rptDir_, entry, [&](ReportWriter &writer) {
            pGeneraDeclaracion(context().db, writer, selection, context().messenger);
        });
    }
    if (!report.ok()) {
        // Nothing was registered and no file stands: there is nothing to show or print.
        showPrintError(context().messenger, {report.errorNumber, report.description});
        return std::nullopt;
    }
    return PreviewRequest{rptDir_, report.archivo, selection.ruc, selection.period, bHistorico_};
}

void FrmTipPrnR::preliminar()
{
    const std::optional<PreviewRequest> request = writeReport();
    if (!request) {
        return;
    }
    whileDisabled([&] {
        FrmImpxPag range(*request, printedPageCount(anexo_->isChecked()), context().messenger,
                         mainWindow());
        range.setPrinterSource(printerSource_);
        connect(&range, &FrmImpxPag::helpRequested, this, &ManagementListDialog::helpRequested);
        range.exec();
    });
    const WaitCursor wait;
    refresh();
}

void FrmTipPrnR::imprimir()
{
    // Every page on the printer at once, no window; the messages are shown there.
    if (const std::optional<PreviewRequest> request = writeReport()) {
        printReportDirect(*request, context().messenger, printerSource_);
    }
}

StatusFields FrmTipPrnR::salirStatus(const ListRow *row) const
{
    // An empty number and name, the row's period and the form code.
    return FrmContAbrirSalirStatus(row, context().formulario);
}

DialogMessage FrmTipPrnR::loadErrorBox(const DbError &error) const
{
    return errorBox(error.number(), error.description());
}

} // namespace qz
