#pragma once
// The menu bar of a window that shows a table, alike in every such window: File with
// "Save as CSV…" (Ctrl+S, wherever the focus is in the window), then a separator before
// which printing's entries go (insertAction(printPlace, ...)), then Close (the window's
// close keys, addCloseKeys, when it has them); Edit with the find bar's Find (Ctrl+F),
// Find next (F3) and Find previous (Shift+F3). The bar is put at the top of the
// window's layout. The window connects saveCsv to its own saving.

class FindBar;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

struct TableMenus {
    QMenuBar* bar = nullptr;
    QMenu* file = nullptr;
    QAction* saveCsv = nullptr;
    QAction* printPlace = nullptr;
    QMenu* edit = nullptr;
};

// window must have its layout.
TableMenus addTableMenus(QWidget& window, FindBar& findBar);
