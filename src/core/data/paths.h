// Paths of the host installation: SysPath and the folders and files derived from it.
// SysPath may end in "/" or "\"; joins use the native separator. Sub-folders such as RPT,
// TMP/tmp and 0731 are found case-insensitively when they exist (the host's file system
// ignores case) and created with the given spelling when they do not.
#pragma once

#include <QString>

namespace qz {

// SysPath without its trailing separators, "\" turned into "/".
QString normalizedDir(const QString &sysPath);

// dir + name with one separator between them.
QString joinPath(const QString &dir, const QString &name);

// The existing entry of dir whose name equals name ignoring case, else dir/name.
QString findEntry(const QString &dir, const QString &name);

// Like findEntry for a folder; creates dir/name when no such folder exists.
QString ensureFolder(const QString &dir, const QString &name);

// A relative host path such as "tmp\env731.txt" or "0731\declmod.hlp" under dir, each part
// found case-insensitively.
QString resolveHostPath(const QString &dir, const QString &relative);

} // namespace qz
