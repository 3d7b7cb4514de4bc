// The built-in help viewer.
#include "gui/shell/helpviewer.h"

#include "gui/widgets/windowroutines.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace qz {

HelpViewer::HelpViewer(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Ayuda"));
    setWindowModality(Qt::ApplicationModal);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtAyuda"));
    // Links to the download page and other sites go to the desktop; pages of the help stay here.
    browser_->setOpenExternalLinks(true);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Ayuda") : title);
    });

    QPushButton *atras =
        commandButton(QString::fromUtf8("&Atrás"), QStringLiteral("cmdAtras"), this);
    atras->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, atras, &QPushButton::setEnabled);
    connect(atras, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    QPushButton *cerrar =
        commandButton(QStringLiteral("&Cerrar"), QStringLiteral("cmdCerrar"), this);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addLayout(buttonRow({atras, cerrar}));
    placeWindow(*this, 0, 0, 6000, 7800);
    centreOnMainWindowExact(*this, parent);
}

void HelpViewer::showPage(const QUrl &page)
{
    browser_->setSource(page);
    show();
    raise();
    activateWindow();
}

} // namespace qz
