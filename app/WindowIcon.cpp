#include "app/WindowIcon.h"

QIcon mpmgrWindowIcon() {
    // The sizes rendered from data/mpmgr.svg, the picture the desktop's menu shows.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/mpmgr/icons/mpmgr-%1.png").arg(size), QSize(size, size));
    return icon;
}
