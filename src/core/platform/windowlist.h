// The top-level windows of the X display and their titles, so that a program can tell
// whether another program's window is on the screen (Qt sees only its own windows).
//
// Top-level means the windows a window manager lists in the root's _NET_CLIENT_LIST when it
// sets one, else the root's children (bare X servers have no window manager). A window
// counts as visible when its map state is viewable: Qt, for one, keeps unmapped helper
// windows with titles of their own. Titles are the bytes of _NET_WM_NAME (UTF-8), else of
// WM_NAME turned into UTF-8 when it is Latin-1 text; they are compared byte for byte.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace qz {

struct TopLevelWindow {
    std::uint32_t id = 0;
    bool viewable = false;
    QByteArray title; // UTF-8, empty when the window has no name
};

// Every top-level window of the default screen of the X display displayName (empty: the
// one $DISPLAY names), in stacking order from the top, viewable or not. nullopt when no
// display is named or the server cannot be reached. Windows that vanish while they are read
// are left out.
std::optional<QList<TopLevelWindow>> topLevelWindows(const QByteArray &displayName = {});

// The non-empty titles of the viewable windows of topLevelWindows(), top first; nullopt
// when there is no display.
std::optional<QList<QByteArray>> visibleTopLevelTitles(const QByteArray &displayName = {});

// True when a viewable top-level window on $DISPLAY has a title equal to sApp: the same
// bytes as sApp in UTF-8, so case, accents and blanks at either end count. False without a
// display and for an empty sApp.
bool CorreApp(const QString &sApp);

} // namespace qz
