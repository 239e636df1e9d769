#include "widgets/CloseKeys.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

void addCloseKeys(QWidget& window) {
    auto* closeAction = new QAction(&window);
    closeAction->setObjectName(QStringLiteral("closeAction"));
    closeAction->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    closeAction->setShortcutContext(Qt::WindowShortcut);
    window.addAction(closeAction);
    QObject::connect(closeAction, &QAction::triggered, &window, &QWidget::close);
}
