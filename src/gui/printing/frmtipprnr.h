// FrmTipPrnR: the print dialog of the two "&Imprimir" commands. It lists the registered or the
// sent declarations; "&Preliminar" (also a double click or Enter in the list) writes the chosen
// declaration as a report file, registers it and opens the page-range dialog on it, and
// "&Imprimir" writes and registers it the same way and prints it at once on the default printer.
// "Anexo Casilla 105" adds the annex page. Each press makes a new report and spool row.
#pragma once

#include "gui/management/listdialog.h"
#include "gui/printing/printersource.h"

class QCheckBox;

namespace qz {

struct PreviewRequest;

class FrmTipPrnR final : public ManagementListDialog {
    Q_OBJECT
public:
    static constexpr int kHelpSent = 1012;
    static constexpr int kHelpRegistered = 1011;

    // bHistorico lists the sent declarations; rptDir is the report folder (sDirReportes).
    FrmTipPrnR(const ManagementContext &context, bool bHistorico, QString rptDir,
               QWidget *mainWindow);

    QCheckBox *anexo() const { return anexo_; }
    bool bHistorico() const { return bHistorico_; }
    // Where "&Imprimir" and the preview print (the default printer unless a test says).
    void setPrinterSource(PrinterSource source) { printerSource_ = std::move(source); }

protected:
    void action(int index) override;
    StatusFields salirStatus(const ListRow *row) const override;
    DialogMessage loadErrorBox(const DbError &error) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static Layout layoutFor(bool bHistorico);
    // Steps 1 to 5 of both commands: the selected declaration written into a new registered
    // report file. The request for it, or nothing when the list is empty or the file could not
    // be made (the message was shown).
    std::optional<PreviewRequest> writeReport();
    void preliminar();
    void imprimir();

    bool bHistorico_;
    QString rptDir_;
    QCheckBox *anexo_ = nullptr;
    PrinterSource printerSource_ = defaultSystemPrinter;
};

} // namespace qz
