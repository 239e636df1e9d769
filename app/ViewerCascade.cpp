#include "app/ViewerCascade.h"

#include <algorithm>

QRect ViewerCascade::roomBeside(const QRect& area, const QRect& obstacle, const QSize& viewer) {
    if (!obstacle.isValid() || !obstacle.intersects(area))
        return {};
    const QRect right(QPoint(obstacle.right() + 1, area.top()), area.bottomRight());
    if (right.width() >= viewer.width())
        return right;
    const QRect left(area.topLeft(), QPoint(obstacle.left() - 1, area.bottom()));
    if (left.width() >= viewer.width())
        return left;
    return {};
}

QPoint ViewerCascade::place(const Scene& scene) {
    // Beside the main window while places there are free, then beside its list, then
    // anywhere on the screen.
    QList<QRect> rooms;
    for (const QRect& room : {roomBeside(scene.area, scene.mainWindow, scene.viewer),
                              roomBeside(scene.area, scene.fileList, scene.viewer), scene.area})
        if (!room.isEmpty())
            rooms << room;
    std::optional<QPoint> crowded;
    for (const QRect& room : rooms) {
        QPoint start;
        if (const std::optional<QPoint> free = freePlace(scene, room, start))
            return *free;
        if (!crowded)
            crowded = start;
    }
    return crowded.value_or(scene.area.topLeft());
}

std::optional<QPoint> ViewerCascade::freePlace(const Scene& scene, const QRect& room,
                                               QPoint& start) {
    // A viewer larger than the room still opens at its top left; the step is never
    // nothing, so the walk below always moves on.
    const int lastX = std::max(room.left(), room.right() + 1 - scene.viewer.width());
    const int lastY = std::max(room.top(), room.bottom() + 1 - scene.viewer.height());
    const int step = std::max(1, scene.step);
    const auto fits = [&](QPoint p) {
        return p.x() >= room.left() && p.x() <= lastX && p.y() >= room.top() && p.y() <= lastY;
    };

    QPoint place = room.topLeft();
    if (scene.last && fits(*scene.last + QPoint(step, step)))
        place = *scene.last + QPoint(step, step);
    start = place;
    // The top of the diagonal the walk is on.
    QPoint passStart(place.x() - (place.y() - room.top()), room.top());
    // Every place of the room is met before the walk comes round again.
    const qint64 places =
        (qint64(lastX - room.left()) / step + 1) * (qint64(lastY - room.top()) / step + 1);
    for (qint64 tried = 0; tried < places; ++tried) {
        if (!scene.taken.contains(place))
            return place;
        place += QPoint(step, step);
        if (!fits(place)) {
            passStart += QPoint(step, 0);
            if (!fits(passStart))
                passStart = room.topLeft();
            place = passStart;
        }
    }
    return std::nullopt;
}
