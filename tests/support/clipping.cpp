// Finding clipped texts by asking each widget what it needs and comparing with what it got.
#include "support/clipping.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QWidget>

namespace qz::test {

namespace {

QString describe(const QWidget &w, const QString &text, int got, int needed)
{
    return QStringLiteral("%1 %2 \"%3\": %4 px for %5")
        .arg(QString::fromLatin1(w.metaObject()->className()), w.objectName(), text)
        .arg(got)
        .arg(needed);
}

void checkLabel(const QLabel &l, QStringList &found)
{
    // A line of text must fit inside the frame, also while the label is empty.
    const int line = l.fontMetrics().height() + 2 * l.frameWidth();
    if (l.frameShape() != QFrame::NoFrame && l.height() < line) {
        found << describe(l, l.text(), l.height(), line);
    }
    if (l.text().isEmpty() || l.textFormat() == Qt::RichText || !l.pixmap().isNull()) {
        return;
    }
    if (l.wordWrap()) {
        const int needed = l.heightForWidth(l.width());
        if (needed > l.height()) {
            found << describe(l, l.text(), l.height(), needed);
        }
    } else if (l.width() < l.minimumSizeHint().width()) {
        found << describe(l, l.text(), l.width(), l.minimumSizeHint().width());
    }
}

void checkTabs(const QTabBar &bar, QStringList &found)
{
    for (int i = 0; i < bar.count(); ++i) {
        const QRect r = bar.tabRect(i);
        const int text = bar.fontMetrics().horizontalAdvance(bar.tabText(i).remove(u'&'));
        if (r.right() > bar.width() || r.left() < 0 || r.width() < text) {
            found << describe(bar, bar.tabText(i), r.width(), text);
        }
    }
}

void checkHeader(const QHeaderView &h, QStringList &found)
{
    if (!h.model() || h.isHidden()) {
        return;
    }
    for (int i = 0; i < h.count(); ++i) {
        if (h.isSectionHidden(i)) {
            continue;
        }
        const QString text = h.model()->headerData(i, h.orientation()).toString();
        const int needed = h.fontMetrics().horizontalAdvance(text) + 6;
        if (h.orientation() == Qt::Horizontal && h.sectionSize(i) < needed) {
            found << describe(h, text, h.sectionSize(i), needed);
        }
    }
}

} // namespace

QStringList clippedTexts(const QWidget &window)
{
    QStringList found;
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&window) || w->width() <= 0) {
            continue;
        }
        if (const auto *l = qobject_cast<const QLabel *>(w)) {
            checkLabel(*l, found);
        } else if (const auto *b = qobject_cast<const QAbstractButton *>(w)) {
            if (!b->text().isEmpty() && b->width() < b->minimumSizeHint().width()) {
                found << describe(*b, b->text(), b->width(), b->minimumSizeHint().width());
            }
        } else if (const auto *g = qobject_cast<const QGroupBox *>(w)) {
            const int needed = g->fontMetrics().horizontalAdvance(g->title());
            if (!g->title().isEmpty() && g->width() < needed) {
                found << describe(*g, g->title(), g->width(), needed);
            }
        } else if (const auto *t = qobject_cast<const QTabBar *>(w)) {
            checkTabs(*t, found);
        } else if (const auto *h = qobject_cast<const QHeaderView *>(w)) {
            checkHeader(*h, found);
        }
    }
    return found;
}

QString offScreen(const QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen) {
        return QStringLiteral("no screen");
    }
    const QRect area = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    if (area.contains(frame)) {
        return QString();
    }
    return QStringLiteral("%1: frame %2,%3 %4x%5 outside %6,%7 %8x%9")
        .arg(window.objectName())
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height())
        .arg(area.x())
        .arg(area.y())
        .arg(area.width())
        .arg(area.height());
}

} // namespace qz::test
