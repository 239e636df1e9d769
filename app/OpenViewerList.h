#pragma once
// The viewer windows that are open, in the order they were made, each under the
// display text of the list entry it shows. Lookups ignore letter case; the first match
// wins. The list does not own the windows: they belong to the main window.

#include <QPointer>
#include <QString>
#include <utility>
#include <vector>

class ViewerWindow;

class OpenViewerList {
public:
    // The viewer registered under key, letter case ignored, or nullptr.
    ViewerWindow* find(const QString& key) const;
    void add(const QString& key, ViewerWindow* viewer);
    int count() const { return static_cast<int>(pairs_.size()); }

    // Closes every viewer, last first, and has it destroyed once the events already
    // queued for it are handled. The list is empty afterwards.
    void releaseAll();

private:
    std::vector<std::pair<QString, QPointer<ViewerWindow>>> pairs_;
};
