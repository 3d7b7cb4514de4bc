// The checks of the exercise and of the reorganization date, as the window and the review
// use them.
#pragma once

#include <QDate>
#include <QString>

namespace qz {

// ValidaPeriodo: the exercise field (mask "####") is complete, its value is above 0, as text
// it is not before "2005", and it is not after the year of today.
bool ValidaPeriodo(const QString &exercise, const QDate &today);

// ValidaFecha: the reorganization date "dd/mm/yyyy" is complete, lies between 1 January and
// 30 April of the exercise and not after today, and its month is 1 to 12 (the day is not
// checked further).
bool ValidaFecha(const QString &fecha, const QString &exercise, const QDate &today);

// True when a masked field still holds a placeholder "_" (or is shorter than its mask).
bool maskIncomplete(const QString &text, int length);

} // namespace qz
