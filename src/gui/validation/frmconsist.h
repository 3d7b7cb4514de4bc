// FrmConsist: the inconsistencies of the last review, read from Mens.txt, in a fixed-pitch
// text area, with "&Imprimir" (on the default printer) and "&Aceptar". Double-clicking a line
// takes the declaration window to the page and box the line speaks of (lineTarget()).
#pragma once

#include "core/data/messenger.h"

#include <QDialog>

#include <functional>

class QPlainTextEdit;

namespace qz {

// The page and box a listing line speaks of: the page from its section ("Identificación",
// "Reorganización", "Determinación Base Imponible", "Determinación de la Deuda", "Información
// Complementaria") and the first box number "casilla NNN" it names (0 when none).
struct LineTarget {
    int page = -1;
    int box = 0;
};
LineTarget lineTarget(const QString &line);

class FrmConsist final : public QDialog {
    Q_OBJECT
public:
    FrmConsist(const QString &mensPath, Messenger &messenger, QWidget *parent);

    bool accepted() const { return accepted_; }
    QPlainTextEdit *text() const { return text_; }
    // How "&Imprimir" prints (the default printer; tests print to a PDF).
    std::function<void()> print;

signals:
    void goTo(int page, int box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *text_ = nullptr;
    bool accepted_ = false;
};

} // namespace qz
