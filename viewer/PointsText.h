#pragma once
// Masterpoints from hundredths, exactly, as the user's locale writes numbers: digits
// grouped, the locale's decimal symbol, always two decimals ("1,234.50" in English,
// "-0.05" below zero). Whole points and hundredths are kept apart, so sums past what a
// double holds exactly are still shown to the hundredth.

#include <QString>
#include <cstdint>

class QLocale;

QString pointsText(std::int64_t hundredths, const QLocale& locale);
