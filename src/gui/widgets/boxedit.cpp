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
    const int code = typedKeyCode(event);
    if (code < 0) {
        QLineEdit::keyPressEvent(event); // movement and editing keys, shortcuts
        return;
    }
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

int typedKeyCode(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        return kEnterKey;
    }
    if (key->key() == Qt::Key_Backspace) {
        return kBackspaceKey;
    }
    // Ctrl or Meta combinations are shortcuts (Ctrl+A, Ctrl+C); Ctrl with Alt is AltGr on
    // some systems and types a character.
    const Qt::KeyboardModifiers mods = key->modifiers();
    if (((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) || (mods & Qt::MetaModifier)) {
        return -1;
    }
    const QString text = key->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127) {
        return -1;
    }
    return text.at(0).unicode();
}

void blockPasting(QLineEdit &field)
{
    field.setContextMenuPolicy(Qt::NoContextMenu);
    field.installEventFilter(new PasteBlocker(&field));
}

} // namespace qz
