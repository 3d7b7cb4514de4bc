// The small routines every window of declmod shares: Enter as Tab, window placement and
// centring on the main window, the width of a drop-down list and the status-bar publisher.
// None keeps state; the arithmetic lives in windowgeometry.h.
#pragma once

#include "core/components/textutility.h"

#include <QString>

#include <initializer_list>

class QComboBox;
class QHBoxLayout;
class QPushButton;
class QTableView;
class QWidget;

namespace qz {

class BarradeEstadoZEB;

// When text is "TAB", moves the focus from the application's focus widget to the next control
// in tab order exactly as a Tab key would (the Tab press is delivered to that widget). Any other
// text, or no focus widget, does nothing. Returns true when a Tab was delivered.
bool enterAsTab(const QString &text);
// As above, starting from the widget focused; nullptr does nothing.
bool enterAsTab(const QString &text, QWidget *focused);

// For key handlers that treat Enter like Tab: when keyCode is 13, calls enterAsTab("TAB").
// Returns keyCode unchanged, so the handler still passes the key through its filter afterwards.
int enterKeyAsTab(int keyCode);

// Window placement: puts window in normal state, then at left, top with the given height and
// width, all in twips of the window's screen (its logical DPI). The size is the window's
// client area and the least it gets: it grows to what the window's contents need. Then
// keepOnScreen.
void placeWindow(QWidget &window, double left, double top, double height, double width);

// Moves a top-level window the least needed (shrinking it only when the screen is smaller
// than the window) so that its frame lies inside the available area of its screen. The frame
// is known only once the window manager has framed the window: until then the client area
// counts, and the check runs once more when the frame first arrives. A child widget is left
// alone.
void keepOnScreen(QWidget &window);

// Centres window on mainWindow (frame to frame, see centredPosition); the declaration form,
// recognised by its object name "Frm731", goes 240 twips higher. Without a main window the
// window is centred on its screen's available area. Then keepOnScreen.
void centreOnMainWindow(QWidget &window, const QWidget *mainWindow);
// The second form, for the about box and the recovery dialog: centred, never raised.
void centreOnMainWindowExact(QWidget &window, const QWidget *mainWindow);

// Average character width of the system's variable-pitch font on window: the width of the 52
// letters A-Z a-z divided by 52 (integer division).
int averageCharWidth(const QWidget &window);
// Sets the open part of list to averageCharWidth(window) x (characters - 2) pixels at least.
void setDropDownWidth(const QWidget &window, QComboBox &list, int characters);

// Status-bar publisher: numeric setting 1, then taxpayer number, name, period and form code,
// in that order.
void publishStatus(BarradeEstadoZEB &bar, const QString &ruc, const QString &name,
                   const QString &period, const QString &formCode);

// A command button of a window: its caption and object name, never a default button (Enter
// belongs to the fields).
QPushButton *commandButton(const QString &caption, const QString &objectName, QWidget *parent);
// A list grid: rows chosen whole and one at a time, never edited, no row heading; Tab leaves it.
QTableView *listGrid(const QString &objectName, QWidget *parent);

// The command buttons in a row, on its right.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);

// The hourglass while a command works: set on construction, the previous cursor back on
// destruction, however the command ends.
class WaitCursor final {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace qz
