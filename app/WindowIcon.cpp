#include "app/WindowIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

QIcon mpmgrWindowIcon() {
    // A green score card with a red heart and a black spade, in a few flat colours.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(0, 128, 0));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 4, 4);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(6.5, 5.5, 19, 21));
    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(192, 0, 0));
    painter.drawText(QRectF(6, 4, 10, 12), Qt::AlignCenter, QString(QChar(0x2665)));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(16, 4, 10, 12), Qt::AlignCenter, QString(QChar(0x2660)));
    painter.drawText(QRectF(6, 14, 20, 12), Qt::AlignCenter, QStringLiteral("MP"));
    return QIcon(pixmap);
}
