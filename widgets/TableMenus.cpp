#include "widgets/TableMenus.h"

#include "widgets/FindBar.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

TableMenus addTableMenus(QWidget& window, FindBar& findBar) {
    TableMenus menus;
    menus.bar = new QMenuBar(&window);
    menus.bar->setObjectName(QStringLiteral("menuBar"));
    window.layout()->setMenuBar(menus.bar);

    menus.file = menus.bar->addMenu(QStringLiteral("&File"));
    menus.file->setObjectName(QStringLiteral("fileMenu"));
    menus.saveCsv = menus.file->addAction(QStringLiteral("&Save as CSV\u2026"));
    menus.saveCsv->setObjectName(QStringLiteral("saveCsvAction"));
    menus.saveCsv->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menus.saveCsv->setShortcutContext(Qt::WindowShortcut);
    // On the window too, so that the key works with the menu bar hidden by a style.
    window.addAction(menus.saveCsv);
    menus.printPlace = menus.file->addSeparator();
    if (auto* close = window.findChild<QAction*>(QStringLiteral("closeAction"))) {
        close->setText(QStringLiteral("&Close"));
        menus.file->addAction(close);
    }

    menus.edit = menus.bar->addMenu(QStringLiteral("&Edit"));
    menus.edit->setObjectName(QStringLiteral("editMenu"));
    menus.edit->addAction(findBar.findAction());
    menus.edit->addAction(findBar.nextAction());
    menus.edit->addAction(findBar.previousAction());
    return menus;
}
