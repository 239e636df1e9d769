#pragma once
// The title of the program's message boxes: the executable's file name up to its first
// dot, every letter after the first in lower case ("mpmgr" gives "Mpmgr").

#include <QString>

QString applicationTitleOf(const QString& executableFileName);

// The title for the running executable.
QString applicationTitle();
