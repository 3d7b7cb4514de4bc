// Box fields: keys, focus, pointer and the clipboard.
#include "gui/widgets/boxedit.h"

#include "core/components/textutility.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qz {

namespace {

bool isPasteKey(const QKeyEvent *e)
{
    return (e->key() == Qt::Key_Insert && e->modifiers() == Qt::ShiftModifier) ||
           e->key() == Qt::Key_Menu || e->matches(QKeySequence::Paste);
}

void emptyClipboard()
{
    QApplication::clipboard()->setText(QString());
}

// Filters the paste keys and mouse buttons of a plain field.
class PasteBlocker final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && isPasteKey(static_cast<QKeyEvent *>(event))) {
            emptyClipboard();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *m = static_cast<QMouseEvent *>(event);
            if (m->button() == Qt::RightButton || m->button() == Qt::MiddleButton) {
                emptyClipboard();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

BoxEdit::BoxEdit(int box, QWidget *parent) : QLineEdit(parent), box_(box)
{
    setObjectName(QStringLiteral("TxtValor_%1").arg(box));
    setContextMenuPolicy(Qt::NoContextMenu);
    setAlignment(Qt::AlignRight);
    setMouseTracking(true);
}

void BoxEdit::keyPressEvent(QKeyEvent *event)
{
    if (isPasteKey(event)) {
        emptyClipboard();
        return;
    }
    const QString text = event->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (text.isEmpty() && !enter && event->key() != Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event); // movement keys, Delete, Tab handling
        return;
    }
    const int code = enter                               ? kEnterKey
                     : event->key() == Qt::Key_Backspace ? kBackspaceKey
                                                         : text.at(0).unicode();
    const int passed = keyFilter ? keyFilter(code) : code;
    if (passed == 0 || passed == kEnterKey) {
        return;
    }
    if (passed == code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The filter changed the character (upper case): type the new one instead.
    QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(QChar(passed)));
    QLineEdit::keyPressEvent(&changed);
}

void BoxEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    emit focusEntered(box_);
}

void BoxEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    emit focusLeft(box_);
}

void BoxEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        emptyClipboard();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void BoxEdit::mouseMoveEvent(QMouseEvent *event)
{
    emit pointerOver(box_);
    QLineEdit::mouseMoveEvent(event);
}

void blockPasting(QLineEdit &field)
{
    field.setContextMenuPolicy(Qt::NoContextMenu);
    field.installEventFilter(new PasteBlocker(&field));
}

} // namespace qz
