// Shared window routines: focus, placement, drop-down widths and the status bar.
#include "gui/widgets/windowroutines.h"

#include "core/components/windowgeometry.h"
#include "gui/widgets/statusbar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QWidget>

namespace qz {

namespace {

const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

struct Dpi {
    double x = 96;
    double y = 96;
};

// The logical DPI of the screen a window is on (of the primary screen before it has one).
Dpi dpiOf(const QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()};
}

// Width of the 52 letters in the system's variable-pitch font on window. The general system
// font stands for the host's stock variable-pitch font; measuring on the window gives the
// window's screen resolution.
int alphabetWidth(const QWidget &window)
{
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont), &window);
    return metrics.horizontalAdvance(kLetters);
}

// The frame's width on each side of the client area; zero before the window manager framed
// the window.
QMargins frameMargins(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// The available area of the screen that holds the frame's centre, else of the window's screen.
QRect availableArea(const QWidget &window)
{
    const QScreen *screen = QGuiApplication::screenAt(window.frameGeometry().center());
    if (!screen)
        screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// What the window's contents need at least (its layout's minimum, or a minimum set on it).
QSize leastSize(const QWidget &window)
{
    return window.minimumSizeHint().expandedTo(window.minimumSize());
}

const QString kFramedCheckName = QStringLiteral("qz_keepOnScreenWhenFramed");

// Runs keepOnScreen once more when the window's frame first becomes known (a move or show
// with non-zero frame margins), then goes away: later moves are the user's.
class KeepOnScreenWhenFramed final : public QObject {
public:
    explicit KeepOnScreenWhenFramed(QWidget &window) : QObject(&window), window_(window)
    {
        setObjectName(kFramedCheckName);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (watched == &window_ && (type == QEvent::Move || type == QEvent::Show) &&
            window_.isVisible() && !frameMargins(window_).isNull()) {
            window_.removeEventFilter(this);
            keepOnScreen(window_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget &window_;
};

void centre(QWidget &window, const QWidget *mainWindow, bool raise)
{
    const Dpi dpi = dpiOf(window);
    QRect host;
    if (mainWindow) {
        host = mainWindow->frameGeometry();
    } else if (const QScreen *screen = window.screen()) {
        host = screen->availableGeometry();
    }
    const QSize size = window.frameGeometry().size();
    const TwipsPoint at = centredPosition(
        pixelsToTwips(host.width(), dpi.x), pixelsToTwips(host.height(), dpi.y),
        pixelsToTwips(size.width(), dpi.x), pixelsToTwips(size.height(), dpi.y), raise);
    window.move(host.left() + twipsToPixels(at.left, dpi.x),
                host.top() + twipsToPixels(at.top, dpi.y));
    keepOnScreen(window);
}

} // namespace

bool enterAsTab(const QString &text)
{
    return enterAsTab(text, QApplication::focusWidget());
}

bool enterAsTab(const QString &text, QWidget *focused)
{
    if (text != u"TAB" || !focused)
        return false;
    // A real key press, so each widget moves on the way it does for the Tab key itself.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(focused, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(focused, &release);
    return true;
}

int enterKeyAsTab(int keyCode)
{
    if (keyCode == kEnterKey)
        enterAsTab(QStringLiteral("TAB"));
    return keyCode;
}

void placeWindow(QWidget &window, double left, double top, double height, double width)
{
    window.setWindowState(window.windowState() &
                          ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const Dpi dpi = dpiOf(window);
    const QSize defined(twipsToPixels(width, dpi.x), twipsToPixels(height, dpi.y));
    window.resize(defined.expandedTo(leastSize(window)));
    window.move(twipsToPixels(left, dpi.x), twipsToPixels(top, dpi.y));
    keepOnScreen(window);
}

void keepOnScreen(QWidget &window)
{
    if (!window.isWindow()) {
        return;
    }
    const QRect area = availableArea(window);
    if (area.isEmpty()) {
        return;
    }
    const QMargins frame = frameMargins(window);
    const QSize size = placedSize(window.size(), leastSize(window), area.size(), frame);
    if (size != window.size()) {
        window.resize(size);
    }
    const QSize frameSize = size.grownBy(frame);
    const QPoint at = keptInside(window.pos(), frameSize, area);
    if (at != window.pos()) {
        window.move(at);
    }
    if (frame.isNull() &&
        !window.findChild<QObject *>(kFramedCheckName, Qt::FindDirectChildrenOnly)) {
        new KeepOnScreenWhenFramed(window);
    }
}

void centreOnMainWindow(QWidget &window, const QWidget *mainWindow)
{
    centre(window, mainWindow, window.objectName() == u"Frm731");
}

void centreOnMainWindowExact(QWidget &window, const QWidget *mainWindow)
{
    centre(window, mainWindow, false);
}

int averageCharWidth(const QWidget &window)
{
    return alphabetWidth(window) / 52;
}

void setDropDownWidth(const QWidget &window, QComboBox &list, int characters)
{
    list.view()->setMinimumWidth(dropDownWidth(alphabetWidth(window), characters));
}

void publishStatus(BarradeEstadoZEB &bar, const QString &ruc, const QString &name,
                   const QString &period, const QString &formCode)
{
    bar.setNumericSetting(1);
    bar.setTaxpayerNumber(ruc);
    bar.setTaxpayerName(name);
    bar.setPeriod(period);
    bar.setFormCode(formCode);
}

namespace {

// Enter on a focused command button presses it, as Space does: a button that is not a
// default button would otherwise ignore Enter.
class EnterPresses final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                static_cast<QPushButton *>(watched)->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QPushButton *commandButton(const QString &caption, const QString &objectName, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->installEventFilter(new EnterPresses(button));
    return button;
}

QTableView *listGrid(const QString &objectName, QWidget *parent)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(objectName);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A list picks whole rows: Tab leaves it for the next control instead of walking its cells.
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    return grid;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons) {
        row->addWidget(b);
    }
    return row;
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace qz
