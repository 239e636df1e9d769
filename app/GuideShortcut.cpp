#include "app/GuideShortcut.h"

#include "app/GuideWindow.h"
#include "widgets/ScreenFit.h"

#include <QApplication>
#include <QKeyEvent>

GuideShortcut::GuideShortcut(QApplication& application, const QStringList& locations)
    : locations_(locations) {
    application.installEventFilter(this);
}

GuideShortcut::~GuideShortcut() {
    delete window_.data();
}

QStringList GuideShortcut::defaultGuideLocations() {
    return GuideWindow::defaultLocations();
}

void GuideShortcut::openGuide() {
    GuideWindow* window = nullptr;
    // A modal dialog blocks every window but its own, so over one the guide is its child.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        window = modal->findChild<GuideWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!window)
            window = new GuideWindow(locations_, modal);
    } else {
        if (!window_) {
            window_ = new GuideWindow(locations_);
            // On the screen the user is working on, not always the primary one.
            if (const QWidget* active = QApplication::activeWindow()) {
                window_->setScreen(active->screen());
                placeOnScreen(*window_);
            }
        }
        window = window_;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

bool GuideShortcut::eventFilter(QObject* watched, QEvent* event) {
    // Caught where it reaches a widget, as every key typed into the program does; the
    // window system's window that hands it on is no widget, so one F1 opens one guide.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                openGuide();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
