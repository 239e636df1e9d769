#include "widgets/WindowGeometry.h"

#include "settings/SettingsStore.h"
#include "widgets/DesignSize.h"
#include "widgets/ScreenFit.h"

#include <QLoggingCategory>
#include <QRect>
#include <QStringList>
#include <QWidget>
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
    window.resize(size);
    // A window nobody placed opens over its owner, wholly on the screen, like the rest.
    if (placed)
        fitInto(window, freeAreaFor(QRect(position, size)), position);
    else
        placeOnScreen(window);
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
