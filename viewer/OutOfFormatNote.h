#pragma once
// What a total that takes in lines out of format says of them: "Includes 7,000.60 from
// 1 line out of format" ("lines" for more than one), the points being what those lines
// add to that total, written as pointsText writes them. Empty when no line is out of
// format.

#include <QString>
#include <cstdint>

class QLocale;

QString outOfFormatNote(std::uint64_t lines, std::int64_t hundredths, const QLocale& locale);
