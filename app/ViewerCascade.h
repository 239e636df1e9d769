#pragma once
// Where a new viewer opens, so that viewers stand apart and on the screen: one step (a
// title bar's height) down and right of the last one opened; back to the top left of
// the room when that step would leave it, each pass back one step further right;
// never exactly where another viewer stands, while there is any other place. The room
// is the screen's free area beside the main window while a viewer fits there at a free
// place, else beside the main window's file list, else the whole free area.
//
// Positions are those of a window's frame, its top-left corner.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class ViewerCascade {
public:
    struct Scene {
        QRect area;       // the free area of the main window's screen
        QRect mainWindow; // the main window's frame
        QRect fileList;   // the file list, in screen coordinates
        QSize viewer;     // the new viewer's frame
        int step = 0;
        std::optional<QPoint> last; // where the last viewer opened stands
        QList<QPoint> taken;        // where every other viewer stands
    };

    static QPoint place(const Scene& scene);

private:
    // The first place of room no other viewer stands on, walking from the step after the
    // last viewer (start, which is where the walk began), or nothing when all are taken.
    static std::optional<QPoint> freePlace(const Scene& scene, const QRect& room, QPoint& start);
    // The free area left or right of obstacle where a viewer fits, or an empty rectangle.
    static QRect roomBeside(const QRect& area, const QRect& obstacle, const QSize& viewer);
};
