#pragma once
// The shade of whatever the viewer marks for the user's attention (a cell, a total):
// the palette's base colour blended toward amber, so that the palette's text stays
// readable on it in a light or a dark theme.

#include <QBrush>

QBrush markBrush();
