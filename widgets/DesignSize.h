#pragma once
// The windows were drawn in design pixels: a 96-dpi screen and an 8-point font whose
// characters are 11 pixels high. A design size becomes real pixels by the ratio of the
// font's character height to those 11 pixels, and never less than the design size
// itself, so a window laid out for it fits the user's font and never shrinks below
// the size it was drawn at.

#include <QSize>

class QFont;

int designPixels(int pixels, const QFont& font);
QSize designSize(const QSize& pixels, const QFont& font);
