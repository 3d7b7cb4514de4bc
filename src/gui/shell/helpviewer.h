// The help viewer built into declmod, for a desktop without a browser: one help page at a
// time, with its links to the other pages, "Atrás" and "&Cerrar". It does not block the
// caller, but it is modal, so it stays usable above the dialog that asked for help.
#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

namespace qz {

class HelpViewer final : public QDialog {
    Q_OBJECT
public:
    // parent is the window that asked for help (the viewer is centred on it).
    explicit HelpViewer(QWidget *parent);

    // Shows page (a file, or a page of the built-in resource), and the viewer.
    void showPage(const QUrl &page);

    QTextBrowser *browser() const { return browser_; }

private:
    QTextBrowser *browser_ = nullptr;
};

} // namespace qz
