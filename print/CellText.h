#pragma once
// A cell's bytes as text, as its coding says: a file's bytes one character per byte
// (Latin-1, every byte visible as itself), a name in the file system's encoding.

#include "masterpoint/Table.h"

#include <QString>

QString cellText(const mp::Cell& cell);
