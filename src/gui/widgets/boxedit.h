// The text field of one box (element n of the declaration window's field array TxtValor),
// also used by the assistants and the companies dialog: it reports typed keys, focus changes
// and pointer moves to its window, and blocks every way of pasting (Shift+Insert, Ctrl+V, the
// context-menu key, the right and the middle mouse button), emptying the clipboard as the
// host's fields do for the first three.
#pragma once

#include <QLineEdit>

class QKeyEvent;

#include <functional>

namespace qz {

class BoxEdit final : public QLineEdit {
    Q_OBJECT
public:
    BoxEdit(int box, QWidget *parent);
    int box() const { return box_; }

    // Decides each typed character: returns the character code to let through, 0 to drop it.
    std::function<int(int)> keyFilter;

signals:
    void focusEntered(int box);
    void focusLeft(int box);
    void pointerOver(int box);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    int box_;
};

// The same blocking for the plain text fields that take it (names, telephone).
void blockPasting(QLineEdit &field);

// The character code of a key as the fields' key filters see it: 13 Enter, 8 Backspace, else
// the typed character; -1 for a key that types nothing (Tab, Shift+Tab, Escape, arrows,
// Home/End, Delete, and control characters such as Ctrl+A and Ctrl+C). Keys of -1 never go
// through a filter: the field or the window handles them as usual.
int typedKeyCode(const QKeyEvent *key);

} // namespace qz
