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
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
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
    window.move(twipsToPixels(left, dpi.x), twipsToPixels(top, dpi.y));
    window.resize(twipsToPixels(width, dpi.x), twipsToPixels(height, dpi.y));
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

QPushButton *commandButton(const QString &caption, const QString &objectName, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
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
