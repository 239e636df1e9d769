#pragma once
// Where a top-level window stood and how large it was, kept in the settings store in
// the section "Windows" under the window's own key, as plain text ("x y width height",
// or "width height" for a window whose position is left to the window system).
//
// restore() puts the window back as stored, clamped so that it lies wholly on a screen
// that exists now, its frame inside that screen's free area (ScreenFit), nor smaller
// than the window's minimum size. With nothing stored, or a value that cannot be read
// (it is logged and ignored: a window's place is never worth an error box), the window
// keeps the size and place it has, clamped the same way; a window never placed is
// centred over the window it belongs to (placeOnScreen).

#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

class QWidget;
class SettingsStore;

class WindowGeometry {
public:
    enum class Keep { SizeAndPosition, SizeOnly };

    WindowGeometry(SettingsStore& store, QString key, Keep keep);

    void restore(QWidget& window) const;
    // The same, the window first given its design size scaled by its font (designSize)
    // and, when one is given, its design position.
    void restore(QWidget& window, const QSize& designPixels,
                 std::optional<QPoint> designPosition = std::nullopt) const;
    // Stores the window's normal (not maximised) geometry; throws the store's
    // StoreError when it cannot be written.
    void save(const QWidget& window);
    // The same for a window whose place is not worth interrupting the user for: a store
    // that cannot be written is logged, and the window goes on.
    void keep(const QWidget& window);

private:
    SettingsStore& store_;
    QString key_;
    Keep keep_;
};
