#include "widgets/DesignSize.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kDesignCharacterHeight = 11.0;
}

int designPixels(int pixels, const QFont& font) {
    const double ratio = QFontMetrics(font).height() / kDesignCharacterHeight;
    return std::max(pixels, static_cast<int>(std::lround(pixels * ratio)));
}

QSize designSize(const QSize& pixels, const QFont& font) {
    return {designPixels(pixels.width(), font), designPixels(pixels.height(), font)};
}
