#include "app/OpenViewerList.h"

#include "masterpoint/FileName.h"
#include "viewer/ViewerWindow.h"

ViewerWindow* OpenViewerList::find(const std::string& fileName) const {
    for (const auto& [name, viewer] : pairs_)
        if (mp::isSameFileName(name, fileName))
            return viewer.data();
    return nullptr;
}

bool OpenViewerList::raise(const std::string& fileName) {
    ViewerWindow* viewer = find(fileName);
    if (viewer == nullptr)
        return false;
    viewer->restoreAndRaise();
    return true;
}

void OpenViewerList::open(const std::string& fileName, const QString& caption, mp::LineList lines,
                          bool twoFigures) {
    auto* viewer = new ViewerWindow(owner_, store_);
    pairs_.emplace_back(fileName, viewer);
    viewer->showFile(caption, std::move(lines), twoFigures);
    viewer->restoreAndRaise();
}

void OpenViewerList::closeAll() {
    while (!pairs_.empty()) {
        if (ViewerWindow* viewer = pairs_.back().second.data()) {
            viewer->hide();
            viewer->deleteLater();
        }
        pairs_.pop_back();
    }
}
