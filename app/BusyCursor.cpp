#include "app/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

void BusyCursor::start() {
    if (active_)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    active_ = true;
}

BusyCursor::~BusyCursor() {
    if (active_)
        QGuiApplication::restoreOverrideCursor();
}
