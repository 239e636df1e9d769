#include "viewer/MarkBrush.h"

#include <QPalette>

QBrush markBrush() {
    // A share of amber laid over the base: pale on white, a dark ochre under a dark
    // theme's light text.
    const QColor base = QPalette().color(QPalette::Base);
    const QColor amber(255, 176, 0);
    constexpr float share = 0.4f;
    const auto blend = [&](float from, float to) { return from + (to - from) * share; };
    return QColor::fromRgbF(blend(base.redF(), amber.redF()), blend(base.greenF(), amber.greenF()),
                            blend(base.blueF(), amber.blueF()));
}
