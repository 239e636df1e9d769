#include "app/ApplicationTitle.h"

#include <QCoreApplication>
#include <QFileInfo>

QString applicationTitleOf(const QString& executableFileName) {
    QString title = executableFileName.section(QLatin1Char('.'), 0, 0);
    if (title.isEmpty())
        return title;
    return title.left(1).toUpper() + title.mid(1).toLower();
}

QString applicationTitle() {
    return applicationTitleOf(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}
