#pragma once
// The totals of the ticked files as the commands see them: one window, whose contents
// each showing replaces.

#include "masterpoint/TickedTotals.h"

class TotalsView {
public:
    virtual ~TotalsView() = default;

    // Shows totals in front, in place of whatever was shown before.
    virtual void showTotals(const mp::TickedTotals& totals) = 0;
};
