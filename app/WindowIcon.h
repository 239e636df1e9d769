#pragma once
// The main window's icon, drawn by the program itself.

#include <QIcon>

QIcon mpmgrWindowIcon();
