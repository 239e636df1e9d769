#include "app/OpenViewerList.h"

#include "app/ViewerCascade.h"
#include "masterpoint/FileName.h"
#include "viewer/ViewerWindow.h"
#include "widgets/NameText.h"
#include "widgets/ScreenFit.h"

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
                          bool twoFigures, const std::string& folder) {
    auto* viewer = new ViewerWindow(owner_, store_, prompts_);
    pairs_.emplace_back(fileName, viewer);
    QObject::connect(viewer, &ViewerWindow::rereadWanted, viewer, [this, fileName] {
        if (rereadWanted_)
            rereadWanted_(fileName);
    });
    viewer->setFile(caption, std::move(lines), twoFigures);
    viewer->setFolder(textOfBytes(folder));
    place(*viewer);
    lastOpened_ = viewer;
    viewer->restoreAndRaise();
}

void OpenViewerList::place(ViewerWindow& viewer) const {
    // The window system would stack them all in one place, over the main window.
    ViewerCascade::Scene scene;
    scene.area = freeAreaFor(owner_->frameGeometry());
    scene.mainWindow = owner_->isVisible() ? owner_->frameGeometry() : QRect();
    if (fileList_ != nullptr && fileList_->isVisible())
        scene.fileList = QRect(fileList_->mapToGlobal(QPoint(0, 0)), fileList_->size());
    const QSize room = roomIn(viewer, scene.area);
    if (viewer.width() > room.width() || viewer.height() > room.height())
        viewer.resize(viewer.size().boundedTo(room).expandedTo(viewer.minimumSize()));
    scene.viewer = viewer.size().grownBy(frameMarginsOf(viewer));
    scene.step = titleBarHeight(viewer);
    if (lastOpened_)
        scene.last = lastOpened_->pos();
    for (const auto& [name, other] : pairs_)
        if (other && other.data() != &viewer)
            scene.taken << other->pos();
    fitInto(viewer, scene.area, ViewerCascade::place(scene));
}

void OpenViewerList::selectLine(const std::string& fileName, std::uint64_t line) {
    if (ViewerWindow* viewer = find(fileName))
        viewer->selectLine(line);
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

std::vector<std::string> OpenViewerList::fileNames() const {
    std::vector<std::string> names;
    for (const auto& [name, viewer] : pairs_)
        if (viewer)
            names.push_back(name);
    return names;
}

void OpenViewerList::noteFileChanged(const std::string& fileName, bool removed) {
    // By exact name: the viewer of "club.gld" is not told of "CLUB.GLD" where both exist.
    for (const auto& [name, viewer] : pairs_)
        if (viewer && name == fileName)
            viewer->noteFileChanged(removed);
}

void OpenViewerList::reread(const std::string& fileName, mp::LineList lines) {
    if (ViewerWindow* viewer = find(fileName))
        viewer->rereadFile(std::move(lines));
}
