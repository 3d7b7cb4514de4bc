// The page-range dialog frmImpxPag ("Impresión de N páginas"): asks for the first and last
// page of a report of N pages and opens the preview on that range, as often as the user
// likes, until "&Cancelar", Escape or the close box. The checks and the key rule are core
// (core/reports/pagerangecheck.h).
#pragma once

#include "core/reports/previewrequest.h"
#include "gui/printing/printersource.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qz {

class Messenger;
class FrmPreview;

class FrmImpxPag final : public QDialog {
    Q_OBJECT
public:
    FrmImpxPag(const PreviewRequest &request, int pages, Messenger &messenger,
               QWidget *parent = nullptr);

    QLineEdit *desde() const { return desde_; }
    QLineEdit *hasta() const { return hasta_; }
    QLineEdit *total() const { return total_; }
    QPushButton *preliminar() const { return preliminar_; }
    QPushButton *cancelar() const { return cancelar_; }

    // Where the previews opened from here print (the default printer unless a test says).
    void setPrinterSource(PrinterSource source) { printerSource_ = std::move(source); }

    // "&Preliminar": the checks, then the preview on the range, modal; the dialog stays open.
    void cmdPreliminar();

signals:
    // F1 in the preview asked for its help topic.
    void helpRequested(int topic);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *pageField(const char *objectName);

    PreviewRequest request_;
    int pages_;
    Messenger &messenger_;
    PrinterSource printerSource_ = defaultSystemPrinter;
    QLineEdit *desde_;
    QLineEdit *hasta_;
    QLineEdit *total_;
    QPushButton *preliminar_;
    QPushButton *cancelar_;
};

} // namespace qz
