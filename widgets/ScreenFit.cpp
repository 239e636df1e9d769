#include "widgets/ScreenFit.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <limits>

namespace {

// The frame the window system gave a window on show, or none.
QMargins shownFrame(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (handle == nullptr || !handle->isVisible())
        return {};
    return handle->frameMargins();
}

bool isFramedWindow(const QWidget& widget) {
    const Qt::WindowType type = widget.windowType();
    return (type == Qt::Window || type == Qt::Dialog) &&
           !widget.windowFlags().testFlag(Qt::FramelessWindowHint);
}

int styleTitleBarHeight(const QWidget& window) {
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

} // namespace

QRect freeAreaFor(const QRect& rect) {
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

QRect freeAreaOf(const QWidget& window) {
    // Until it is made, a window's screen is wherever its rectangle lies, which for one
    // never placed is the primary screen's corner, not where its owner is.
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (owner != nullptr)
        return freeAreaFor(owner->frameGeometry());
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize smallestFreeArea() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return {};
    QSize smallest(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    for (const QScreen* screen : screens)
        smallest = smallest.boundedTo(screen->availableGeometry().size());
    return smallest;
}

QMargins frameMarginsOf(const QWidget& window) {
    QMargins frame = shownFrame(window);
    if (!frame.isNull())
        return frame;
    // The window system frames every window of the program alike.
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &window || !other->isVisible() || !isFramedWindow(*other))
            continue;
        frame = shownFrame(*other);
        if (!frame.isNull())
            return frame;
    }
    const int border =
        window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    return {border, styleTitleBarHeight(window) + border, border, border};
}

int titleBarHeight(const QWidget& window) {
    return std::max(frameMarginsOf(window).top(), styleTitleBarHeight(window));
}

QSize roomIn(const QWidget& window, const QRect& area) {
    const QMargins frame = frameMarginsOf(window);
    return area.size().shrunkBy(frame).expandedTo(QSize(0, 0));
}

void fitInto(QWidget& window, const QRect& area, QPoint position) {
    if (!area.isValid()) {
        window.move(position);
        return;
    }
    const QMargins frame = frameMarginsOf(window);
    const QSize size =
        window.size().boundedTo(roomIn(window, area)).expandedTo(window.minimumSize());
    window.resize(size);
    const QSize outer = size.grownBy(frame);
    const int right = std::max(area.left(), area.right() + 1 - outer.width());
    const int bottom = std::max(area.top(), area.bottom() + 1 - outer.height());
    window.move(std::clamp(position.x(), area.left(), right),
                std::clamp(position.y(), area.top(), bottom));
}

void placeOnScreen(QWidget& window) {
    const QRect area = freeAreaOf(window);
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    const QPoint centre = owner != nullptr ? owner->frameGeometry().center() : area.center();
    const QSize outer =
        window.size().boundedTo(roomIn(window, area)).grownBy(frameMarginsOf(window));
    fitInto(window, area, centre - QPoint(outer.width() / 2, outer.height() / 2));
}
