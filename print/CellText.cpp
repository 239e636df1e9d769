#include "print/CellText.h"

#include "app/NameText.h"

QString cellText(const mp::Cell& cell) {
    if (cell.coding == mp::CellCoding::NameBytes)
        return textOfBytes(cell.text);
    return QString::fromLatin1(cell.text.data(), qsizetype(cell.text.size()));
}
