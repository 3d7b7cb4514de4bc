// What a person would see cut off in a window: texts that do not fit their widget (labels,
// buttons, group titles, tabs, grid headings) and a window that is not wholly on its screen.
// Each finding is one line naming the widget and its text; none means nothing is clipped.
#pragma once

#include <QStringList>

class QWidget;

namespace qz::test {

QStringList clippedTexts(const QWidget &window);

// The window's frame outside its screen's available area, or nothing.
QString offScreen(const QWidget &window);

} // namespace qz::test
