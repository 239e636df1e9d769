#include "app/GuideWindow.h"

#include "app/FilesLog.h"
#include "widgets/CloseKeys.h"
#include "widgets/DesignSize.h"
#include "widgets/ScreenFit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

GuideWindow::GuideWindow(const QStringList& locations, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(QStringLiteral("Masterpoint file manager guide"));
    browser_->setObjectName(QStringLiteral("guideText"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(designSize(QSize(600, 560), font()));
    // A large font would make the drawn size taller than a small screen.
    placeOnScreen(*this);
    addCloseKeys(*this);

    for (const QString& location : locations) {
        const QFileInfo guide(location);
        if (!guide.isFile() || !guide.isReadable())
            continue;
        // The pictures are named relative to the guide, so they are looked for beside it.
        browser_->setSearchPaths({guide.absolutePath()});
        browser_->setSource(QUrl::fromLocalFile(guide.absoluteFilePath()),
                            QTextDocument::MarkdownResource);
        return;
    }
    showMissing(locations);
}

void GuideWindow::showMissing(const QStringList& locations) {
    QString text = QStringLiteral("# The guide was not found\n\nIt was looked for in:\n\n");
    for (const QString& location : locations)
        text += QStringLiteral("- `%1`\n").arg(QDir::toNativeSeparators(location));
    browser_->setMarkdown(text);
    qCWarning(filesLog) << "The guide was not found in" << locations;
}

QStringList GuideWindow::defaultLocations() {
    QStringList locations{
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                        QStringLiteral(MPMGR_GUIDE_FROM_EXECUTABLE)),
        QStringLiteral(MPMGR_GUIDE_INSTALLED), QStringLiteral(MPMGR_GUIDE_SOURCE)};
    locations.removeDuplicates();
    return locations;
}
