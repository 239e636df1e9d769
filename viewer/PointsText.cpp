#include "viewer/PointsText.h"

#include <QLocale>

QString pointsText(std::int64_t hundredths, const QLocale& locale) {
    const bool negative = hundredths < 0;
    // The magnitude in unsigned arithmetic: the most negative sum has no positive twin.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(hundredths)
                                             : static_cast<std::uint64_t>(hundredths);
    QString text = locale.toString(qulonglong(magnitude / 100)) + locale.decimalPoint() +
                   QString::number(magnitude % 100).rightJustified(2, QLatin1Char('0'));
    return negative ? locale.negativeSign() + text : text;
}
