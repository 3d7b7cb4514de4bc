// The inconsistency list window and the way back from a line to its box.
#include "gui/validation/frmconsist.h"

#include "gui/widgets/windowroutines.h"

#include "core/declaration/boxes.h"

#include "core/data/textfile.h"
#include "core/reports/printresult.h"
#include "gui/validation/inconsistencyprint.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QVBoxLayout>

namespace qz {

LineTarget lineTarget(const QString &line)
{
    LineTarget t;
    static const std::pair<const char *, int> kSections[] = {
        {"Identificación", 0},
        {"Reorganización", 1},
        {"Determinación Base Imponible", 2},
        {"Determinación de la Deuda", 3},
        {"Información Complementaria", 4},
    };
    for (const auto &[section, page] : kSections) {
        if (line.startsWith(QString::fromUtf8(section))) {
            t.page = page;
        }
    }
    static const QRegularExpression box(QStringLiteral("casilla (\\d{3})"));
    const QRegularExpressionMatch m = box.match(line);
    if (m.hasMatch()) {
        t.box = m.captured(1).toInt();
        // The box's own page wins over the line's heading: the lines about boxes 142 and 143
        // are headed "Determinación Base Imponible" although both stand on the debt page.
        if (const BoxInfo *info = boxInfo(t.box)) {
            t.page = info->page;
        }
    }
    return t;
}

FrmConsist::FrmConsist(const QString &mensPath, Messenger &messenger, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmConsist"));
    setWindowTitle(QStringLiteral("Inconsistencias detectadas"));
    setModal(true);
    auto *label = new QLabel(
        QStringLiteral("En su declaración se han detectado las siguientes inconsistencias :"),
        this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txtMensajes"));
    text_->setReadOnly(true);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    text_->setFont(courier);
    text_->viewport()->installEventFilter(this);
    QStringList lines;
    readHostLines(mensPath, &lines);
    text_->setPlainText(lines.join(u'\n'));

    auto *imprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    auto *aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    imprimir->setObjectName(QStringLiteral("cmdImprimir"));
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    print = [this, mensPath, &messenger] {
        PrintResult r;
        {
            const WaitCursor wait;
            QPrinter printer;
            if (QPrinterInfo::defaultPrinter().isNull()) {
                r.errorNumber = printerr::kNoPrinter;
            } else {
                printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
                r = ImprimeInconsistencias(mensPath, printer);
            }
        }
        showPrintError(messenger, r);
    };
    connect(imprimir, &QPushButton::clicked, this, [this] { print(); });
    connect(aceptar, &QPushButton::clicked, this, [this] {
        accepted_ = true;
        accept();
    });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(imprimir);
    buttons->addWidget(aceptar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(640, 360);
}

bool FrmConsist::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        const LineTarget t = lineTarget(text_->cursorForPosition(at).block().text());
        if (t.page >= 0) {
            emit goTo(t.page, t.box);
            accepted_ = true;
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qz
