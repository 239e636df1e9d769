#include "widgets/WindowGeometry.h"

#include "settings/SettingsStore.h"
#include "widgets/DesignSize.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(windowsLog, "mpmgr.windows")

const QString kSection = QStringLiteral("Windows");

// The numbers of a stored value, or nothing when it is not count whole numbers.
std::optional<QList<int>> numbersOf(const QString& text, int count) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != count)
        return std::nullopt;
    QList<int> numbers;
    for (const QString& part : parts) {
        bool ok = false;
        const int number = part.toInt(&ok);
        if (!ok)
            return std::nullopt;
        numbers.append(number);
    }
    return numbers;
}

// The free area of the screen that shows most of rect, or of the primary screen when
// none shows any of it.
QRect screenAreaFor(const QRect& rect) {
    QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (!best)
        best = QGuiApplication::primaryScreen();
    return best ? best->availableGeometry() : QRect();
}

QSize clampedSize(const QWidget& window, QSize size, const QRect& area) {
    if (area.isValid())
        size = size.boundedTo(area.size());
    return size.expandedTo(window.minimumSize());
}

// Keeps the whole window on the area where it can, its top-left corner at least.
QPoint clampedPosition(QPoint position, const QSize& size, const QRect& area) {
    if (!area.isValid())
        return position;
    const int right = std::max(area.left(), area.right() + 1 - size.width());
    const int bottom = std::max(area.top(), area.bottom() + 1 - size.height());
    return {std::clamp(position.x(), area.left(), right),
            std::clamp(position.y(), area.top(), bottom)};
}

} // namespace

WindowGeometry::WindowGeometry(SettingsStore& store, QString key, Keep keep)
    : store_(store), key_(std::move(key)), keep_(keep) {}

void WindowGeometry::restore(QWidget& window, const QSize& designPixels,
                             std::optional<QPoint> designPosition) const {
    window.resize(designSize(designPixels, window.font()));
    if (designPosition)
        window.move(*designPosition);
    restore(window);
}

void WindowGeometry::restore(QWidget& window) const {
    QSize size = window.size();
    QPoint position = window.pos();
    // A window nobody has placed is left where the window system puts it.
    bool placed = window.testAttribute(Qt::WA_Moved);
    const bool withPosition = keep_ == Keep::SizeAndPosition;
    try {
        const QString stored = store_.readString(kSection, key_, QString());
        if (!stored.isEmpty()) {
            if (const auto numbers = numbersOf(stored, withPosition ? 4 : 2)) {
                const int first = withPosition ? 2 : 0;
                size = QSize(numbers->at(first), numbers->at(first + 1));
                if (withPosition) {
                    position = QPoint(numbers->at(0), numbers->at(1));
                    placed = true;
                }
            } else {
                qCWarning(windowsLog).noquote()
                    << QStringLiteral("Ignored the stored geometry of %1: \"%2\"")
                           .arg(key_, stored);
            }
        }
    } catch (const std::exception& error) {
        qCWarning(windowsLog).noquote()
            << QStringLiteral("Ignored the stored geometry of %1: %2").arg(key_, error.what());
    }
    const QRect area = screenAreaFor(QRect(position, size));
    size = clampedSize(window, size, area);
    window.resize(size);
    if (placed)
        window.move(clampedPosition(position, size, area));
}

void WindowGeometry::keep(const QWidget& window) {
    try {
        save(window);
    } catch (const std::exception& error) {
        qCWarning(windowsLog).noquote()
            << QStringLiteral("Could not keep the geometry of %1: %2").arg(key_, error.what());
    }
}

void WindowGeometry::save(const QWidget& window) {
    const QRect normal = window.isMaximized() || window.isFullScreen()
                             ? window.normalGeometry()
                             : QRect(window.pos(), window.size());
    QString text = QStringLiteral("%1 %2").arg(normal.width()).arg(normal.height());
    if (keep_ == Keep::SizeAndPosition)
        text = QStringLiteral("%1 %2 ").arg(normal.x()).arg(normal.y()) + text;
    store_.writeString(kSection, key_, text);
}
