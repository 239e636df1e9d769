#include "viewer/OutOfFormatNote.h"

#include "viewer/PointsText.h"

#include <QLocale>

QString outOfFormatNote(std::uint64_t lines, std::int64_t hundredths, const QLocale& locale) {
    if (lines == 0)
        return {};
    const QString count = lines == 1
                              ? QStringLiteral("1 line")
                              : QStringLiteral("%1 lines").arg(locale.toString(qulonglong(lines)));
    return QStringLiteral("Includes %1 from %2 out of format")
        .arg(pointsText(hundredths, locale), count);
}
