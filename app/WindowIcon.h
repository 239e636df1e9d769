#pragma once
// The main window's icon: a green score card with a red heart, a black spade and "MP",
// the same picture as the icon installed for the desktop's menu.

#include <QIcon>

QIcon mpmgrWindowIcon();
