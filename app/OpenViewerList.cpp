#include "app/OpenViewerList.h"

#include "viewer/ViewerWindow.h"

ViewerWindow* OpenViewerList::find(const QString& key) const {
    for (const auto& [name, viewer] : pairs_)
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return viewer.data();
    return nullptr;
}

void OpenViewerList::add(const QString& key, ViewerWindow* viewer) {
    pairs_.emplace_back(key, viewer);
}

void OpenViewerList::releaseAll() {
    while (!pairs_.empty()) {
        if (ViewerWindow* viewer = pairs_.back().second.data()) {
            viewer->hide();
            viewer->deleteLater();
        }
        pairs_.pop_back();
    }
}
