// declmod's help: HTML pages built into the program and installed under SysPath & "0731",
// opened by the desktop's browser. The contents page is declmod.htm; the page of help topic n
// is "t" + n + ".htm".
#pragma once

#include <QString>

namespace qz {

// The contents page under SysPath.
QString helpFilePath(const QString &sysPath);

// The page of a help topic under SysPath.
QString helpTopicPath(const QString &sysPath, int topic);

// Writes every built-in page into SysPath's 0731 folder (created when missing) where it is
// missing or differs. False when a page could not be written.
bool installHelpPages(const QString &sysPath);

} // namespace qz
