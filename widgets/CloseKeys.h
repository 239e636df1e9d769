#pragma once
// Esc and Ctrl+W close window, wherever the focus is inside it, as they close the
// windows of most desktop programs.

class QWidget;

void addCloseKeys(QWidget& window);
