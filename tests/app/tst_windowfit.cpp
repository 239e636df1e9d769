// Every window and dialog shown with a 13-point application font (and, run a second time,
// at a scale of 2): each label, button, field and header has room for the text it shows,
// lies inside its parent and overlaps no other control; text that is shortened to fit
// can be read whole in its tool tip. On the laptop screens a row names (main() fakes
// them), the window lies wholly inside the free area, and the main window's least size too.
//
// A window joins the check with one row in windows_data(): a name, a function that
// builds it as the program would (the main window's windows as a user opens them), in
// the row's own temporary folder, and the fewest texts the check must have measured in
// it, so that a window that lost its controls cannot pass by having nothing to check.

#include "app/GuideShortcut.h"
#include "app/GuideWindow.h"
#include "app/MainWindow.h"
#include "app/TotalsWindow.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ChooseFolderDialog.h"
#include "dialogs/PathsDialog.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/ViewerWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionHeader>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A window to check, with what must outlive it: the settings store and, for the windows
// the main window opens, the main window (destroyed first).
struct Shown {
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<GuideShortcut> guide; // goes first, with the guide window it made
    QWidget* window = nullptr;
};

// The fake screens, by name, as main() lays them out.
const QList<std::pair<QString, QRect>> kLaptops{
    {QStringLiteral("1366 x 768"), QRect(800, 0, 1366, 768)},
    {QStringLiteral("1280 x 720"), QRect(2166, 0, 1280, 720)}};

// Builds a window in a fixture folder; the prompts answer any question it asks.
using WindowMaker = std::function<Shown(ScriptedPrompts& prompts, const QString& folder)>;

Shown alone(std::unique_ptr<QWidget> window) {
    Shown shown;
    shown.window = window.get();
    shown.owner = std::move(window);
    return shown;
}

// A long path, as deep as a real one on a USB stick can be.
QString deepFolder(const QString& folder) {
    const QString deep = folder + QStringLiteral("/Masterpoint files of the club") +
                         QStringLiteral("/Season 2024 to 2025/Results by month/November");
    QDir().mkpath(deep);
    return deep;
}

// A club's month in a deep folder: a gold file, an unconverted gold file with a line
// shifted out of the record format, a red file, a two-figure file with a shifted line,
// and a file whose name runs long.
const QString kLongName = QStringLiteral("CLUB0612 November pairs championship, final session.GLD");

QString monthOfFiles(const QString& folder) {
    const QString mp = deepFolder(folder);
    testfiles::write(mp, "CLUB0612.GLD", "1234567001250\r\n7654321000075\r\n");
    testfiles::write(mp, "CLUB0613.MP1", "2222222000050\r\n3333333 000100\r\n");
    testfiles::write(mp, "club0615.RED", "1234567000325\r\n");
    testfiles::write(mp, "CLUB0616.RAG",
                     "1234567001250000300\r\n2222222 0012500003000\r\n3333333ABCDEF000100\r\n");
    testfiles::write(mp, kLongName, "1234567009999\r\n");
    return mp;
}

// The main window as the program opens it on the month of files, listed by the
// start-up scan, with the given entries ticked as a user ticks them (the row made
// current, then Space).
Shown mainWindow(ScriptedPrompts& prompts, const QString& folder, const QStringList& ticked,
                 const QString& screen = QString()) {
    Shown shown;
    shown.store = std::make_unique<SettingsStore>(folder + QStringLiteral("/settings.ini"));
    shown.store->writeString(SettingsNames::Paths, SettingsNames::MasterpointFolder,
                             monthOfFiles(folder));
    // Left there, as large as can be, on a larger screen.
    for (const auto& [name, place] : kLaptops)
        if (name == screen)
            shown.store->writeString(
                QStringLiteral("Windows"), QStringLiteral("MainWindow"),
                QStringLiteral("%1 %2 4000 3000").arg(place.x() + 40).arg(place.y() + 30));
    auto window = std::make_unique<MainWindow>(prompts, *shown.store);
    QSignalSpy started(window.get(), &MainWindow::startedUp);
    window->showAndStartUp();
    if (!QTest::qWaitFor([&] { return started.count() > 0; }))
        qFatal("The main window did not start up");
    auto* list = window->findChild<QListView*>(QStringLiteral("fileList"));
    for (const QString& text : ticked) {
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
        if (found.isEmpty())
            qFatal("%s is not listed", qPrintable(text));
        list->setFocus();
        list->setCurrentIndex(found.first());
        QTest::keyClick(list, Qt::Key_Space);
    }
    shown.window = window.get();
    shown.owner = std::move(window);
    return shown;
}

// The viewer that View opened for the one ticked entry.
Shown viewerOf(ScriptedPrompts& prompts, const QString& folder, const QString& entry,
               const QString& screen = QString()) {
    Shown shown = mainWindow(prompts, folder, {entry}, screen);
    QTest::mouseClick(shown.owner->findChild<QPushButton*>(QStringLiteral("viewButton")),
                      Qt::LeftButton);
    const QList<ViewerWindow*> viewers = shown.owner->findChildren<ViewerWindow*>();
    if (viewers.size() != 1)
        qFatal("View opened %d viewers", int(viewers.size()));
    shown.window = viewers.first();
    return shown;
}

QString describe(const QWidget* widget) {
    QString name = widget->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(widget->metaObject()->className());
    return name + QLatin1Char(' ') + QString::number(widget->width()) + QLatin1Char('x') +
           QString::number(widget->height());
}

bool shownWhole(const QString& text, const QWidget* widget, int room) {
    return widget->fontMetrics().horizontalAdvance(text) <= room || widget->toolTip() == text;
}

// The room a header section's text (and sort arrow, where shown) asks of the style.
QSize headerSectionNeeds(const QHeaderView* header, int section) {
    QStyleOptionHeader option;
    option.initFrom(header);
    option.section = section;
    option.orientation = header->orientation();
    const QVariant font = header->model()->headerData(section, option.orientation, Qt::FontRole);
    QFontMetrics metrics = header->fontMetrics();
    if (font.canConvert<QFont>())
        metrics = QFontMetrics(font.value<QFont>());
    option.fontMetrics = metrics;
    option.text = header->model()->headerData(section, option.orientation).toString();
    if (header->isSortIndicatorShown())
        option.sortIndicator = QStyleOptionHeader::SortDown;
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header);
}

// The cells of an item view that are on show and cut with no tool tip to read them by;
// adds the cells looked at to measured.
QStringList cutCells(const QAbstractItemView* view, int& measured) {
    QStringList cut;
    const QAbstractItemModel* model = view->model();
    if (model == nullptr)
        return cut;
    const QRect viewport = view->viewport()->rect();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        for (int column = 0; column < model->columnCount(view->rootIndex()); ++column) {
            const QModelIndex index = model->index(row, column, view->rootIndex());
            const QString text = index.data().toString();
            const QRect rect = view->visualRect(index);
            if (text.isEmpty() || !rect.intersects(viewport))
                continue;
            ++measured;
            // The tip's first line is the whole text (more may follow: a file's facts).
            if (index.data(Qt::ToolTipRole).toString().section(QLatin1Char('\n'), 0, 0) == text)
                continue;
            const int needed = view->sizeHintForIndex(index).width();
            // Cut when narrower than its text, or running past a view that cannot be
            // scrolled sideways to the rest.
            const bool runsPast = rect.left() + needed > viewport.right() + 1 &&
                                  view->horizontalScrollBar()->maximum() == 0;
            if (rect.width() < needed || runsPast)
                cut << QStringLiteral("cell %1,%2 \"%3\" is %4 wide, needs %5")
                           .arg(row)
                           .arg(column)
                           .arg(text)
                           .arg(rect.width())
                           .arg(needed);
        }
    }
    return cut;
}

// What of a menu bar's items is not on show: items that do not fit go behind an
// extension button, out of sight.
QStringList hiddenMenus(const QMenuBar* bar, int& measured) {
    QStringList hidden;
    for (QAction* action : bar->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        ++measured;
        const QRect place = bar->actionGeometry(action);
        if (place.isEmpty() || !bar->rect().contains(place))
            hidden << QStringLiteral("menu \"%1\" is not on show").arg(action->text());
    }
    return hidden;
}

// What of a guide's text cannot be read in its window: lines running past its right
// edge, and pictures that cannot be loaded.
QStringList unreadableGuide(QTextBrowser* browser, int& measured) {
    QStringList faults;
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            ++measured;
            const QString name = format.toImageFormat().name();
            const QVariant picture =
                browser->loadResource(QTextDocument::ImageResource, QUrl(name));
            const bool loads = picture.canConvert<QImage>() && !picture.value<QImage>().isNull()
                                   ? true
                                   : !QImage::fromData(picture.toByteArray()).isNull();
            if (!loads)
                faults << QStringLiteral("picture %1 cannot be loaded").arg(name);
        }
        if (block.text().contains(QChar::ObjectReplacementCharacter))
            continue; // a picture's line is as wide as the picture, not the window
        const QRectF place = document->documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            ++measured;
            const qreal right = place.left() + line.x() + line.naturalTextWidth();
            if (right > browser->viewport()->width())
                faults << QStringLiteral("guide line \"%1\" ends at %2, past the window's %3")
                              .arg(block.text().mid(line.textStart(), line.textLength()))
                              .arg(right)
                              .arg(browser->viewport()->width());
        }
    }
    return faults;
}

// What does not fit in one widget; empty when it fits.
QString whatDoesNotFit(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->text().isEmpty())
            return {}; // a picture
        if (label->text().contains(QChar(0x2026)) && label->toolTip().isEmpty())
            return QStringLiteral("shortened with no tool tip");
        if (label->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
            return shownWhole(label->text(), label, label->contentsRect().width())
                       ? QString()
                       : QStringLiteral("text wider than the label");
        if (label->wordWrap())
            return label->height() >= label->heightForWidth(label->width())
                       ? QString()
                       : QStringLiteral("wrapped text lower than its lines need (%1)")
                             .arg(label->heightForWidth(label->width()));
        const QSize hint = label->sizeHint();
        if (label->width() < hint.width() || label->height() < hint.height())
            return QStringLiteral("smaller than its text needs (%1x%2)")
                .arg(hint.width())
                .arg(hint.height());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        const QSize hint = button->sizeHint();
        if (!button->text().isEmpty() &&
            (button->width() < hint.width() || button->height() < hint.height()))
            return QStringLiteral("smaller than its text needs (%1x%2)")
                .arg(hint.width())
                .arg(hint.height());
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        const int room =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() -
            edit->textMargins().left() - edit->textMargins().right();
        if (!shownWhole(edit->text(), edit, room - 4))
            return QStringLiteral("text wider than the field, no tool tip");
        if (edit->height() < edit->fontMetrics().height())
            return QStringLiteral("lower than a line of text");
    } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        if (combo->height() < combo->minimumSizeHint().height())
            return QStringLiteral("lower than its text needs");
    } else if (const auto* header = qobject_cast<const QHeaderView*>(widget)) {
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section))
                continue;
            const QSize needed = headerSectionNeeds(header, section);
            const int given = header->sectionSize(section);
            const int wanted =
                header->orientation() == Qt::Horizontal ? needed.width() : needed.height();
            if (given < wanted)
                return QStringLiteral("section %1 is %2, its header needs %3")
                    .arg(section)
                    .arg(given)
                    .arg(wanted);
        }
    }
    return {};
}

// The controls that show a text of their own, for the overlap check: pictures and
// containers are left out, since texts are meant to lie on them.
bool showsText(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QComboBox*>(widget);
}

// Whether whatDoesNotFit() measures a text of the widget.
bool measures(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return !button->text().isEmpty();
    return showsText(widget) || qobject_cast<const QHeaderView*>(widget);
}

// Every fault of a shown window, one line each; adds the texts measured to measured.
QStringList faultsOf(QWidget* window, int& measured) {
    QStringList faults;
    QList<QWidget*> shown;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->window() != window)
            continue;
        shown << widget;
        if (measures(widget))
            ++measured;
        const QString fault = whatDoesNotFit(widget);
        if (!fault.isEmpty())
            faults << describe(widget) + QStringLiteral(": ") + fault;
        const auto* header = qobject_cast<const QHeaderView*>(widget);
        if (header)
            measured += header->count() - header->hiddenSectionCount();
        auto* view = qobject_cast<QAbstractItemView*>(widget);
        if (view && !header && !qobject_cast<QTextBrowser*>(widget))
            for (const QString& cell : cutCells(view, measured))
                faults << describe(widget) + QStringLiteral(": ") + cell;
        if (const auto* bar = qobject_cast<const QMenuBar*>(widget))
            faults += hiddenMenus(bar, measured);
        if (auto* browser = qobject_cast<QTextBrowser*>(widget))
            faults += unreadableGuide(browser, measured);
        if (showsText(widget) && widget->parentWidget() &&
            !widget->parentWidget()->rect().contains(widget->geometry()))
            faults << describe(widget) + QStringLiteral(": cut by the edge of ") +
                          describe(widget->parentWidget());
    }
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            QWidget* a = shown.at(i);
            QWidget* b = shown.at(j);
            if (a->parentWidget() != b->parentWidget() || !showsText(a) || !showsText(b) ||
                a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            if (a->geometry().intersects(b->geometry()))
                faults << describe(a) + QStringLiteral(" overlaps ") + describe(b);
        }
    }
    return faults;
}

} // namespace

Q_DECLARE_METATYPE(WindowMaker)

class tst_WindowFit : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windows_data();
    void windows();
};

void tst_WindowFit::initTestCase() {
    QFont font = QApplication::font();
    font.setPointSize(13);
    QApplication::setFont(font);
}

void tst_WindowFit::windows_data() {
    QTest::addColumn<WindowMaker>("make");
    QTest::addColumn<int>("fewestMeasured");
    QTest::addColumn<QString>("screen"); // a laptop's, where the window must lie whole
    QTest::newRow("Paths dialog, long paths")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               auto dialog = std::make_unique<PathsDialog>(prompts);
               dialog->setValues({deepFolder(folder), deepFolder(folder) + "/Backup", 9999});
               return alone(std::move(dialog));
           })
        << 8 << QString();
    QTest::newRow("About box") << WindowMaker([](ScriptedPrompts&, const QString&) {
        return alone(std::make_unique<AboutBox>());
    }) << 4 << QString();
    QTest::newRow("Choose Folder, long path")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               return alone(std::make_unique<ChooseFolderDialog>(prompts, deepFolder(folder)));
           })
        << 6 << QString();
    // Six buttons, two menus, the status line with the long folder and five entries.
    QTest::newRow("main window, long names and folder")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               return mainWindow(prompts, folder, {"CLUB0613.MP1(GLD)", kLongName});
           })
        << 14 << QString();
    QTest::newRow("viewer, one figure, a line out of format")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               return viewerOf(prompts, folder, "CLUB0613.MP1(GLD)");
           })
        << 9 << QString();
    QTest::newRow("viewer, two figures, lines out of format and not counted")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               return viewerOf(prompts, folder, "CLUB0616.RAG");
           })
        << 14 << QString();
    QTest::newRow("Totals, two colours, one with two figures")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               Shown shown = mainWindow(prompts, folder,
                                        {"CLUB0612.GLD", "CLUB0613.MP1(GLD)", "club0615.RED",
                                         "CLUB0616.RAG", kLongName});
               shown.owner->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
               shown.window = shown.owner->findChild<TotalsWindow*>();
               return shown;
           })
        << 14 << QString();
    QTest::newRow("guide") << WindowMaker([](ScriptedPrompts&, const QString&) {
        return alone(std::make_unique<GuideWindow>(GuideWindow::defaultLocations()));
    }) << 100 << QString();
    for (const auto& [name, place] : kLaptops) {
        const QString screen = name;
        QTest::addRow("main window on %s", qPrintable(screen))
            << WindowMaker([screen](ScriptedPrompts& prompts, const QString& folder) {
                   return mainWindow(prompts, folder, {}, screen);
               })
            << 14 << screen;
        QTest::addRow("viewer, two figures, on %s", qPrintable(screen))
            << WindowMaker([screen](ScriptedPrompts& prompts, const QString& folder) {
                   return viewerOf(prompts, folder, "CLUB0616.RAG", screen);
               })
            << 14 << screen;
        QTest::addRow("Totals on %s", qPrintable(screen))
            << WindowMaker([screen](ScriptedPrompts& prompts, const QString& folder) {
                   Shown shown = mainWindow(prompts, folder, {"CLUB0616.RAG", kLongName}, screen);
                   shown.owner->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
                   shown.window = shown.owner->findChild<TotalsWindow*>();
                   return shown;
               })
            << 14 << screen;
        // F1 in the main window, as the user opens the guide.
        QTest::addRow("guide on %s", qPrintable(screen))
            << WindowMaker([screen](ScriptedPrompts& prompts, const QString& folder) {
                   Shown shown = mainWindow(prompts, folder, {}, screen);
                   shown.owner->activateWindow();
                   if (!QTest::qWaitForWindowActive(shown.owner.get()))
                       qFatal("The main window is not active");
                   shown.guide = std::make_unique<GuideShortcut>(*qApp);
                   QTest::keyClick(shown.owner.get(), Qt::Key_F1);
                   for (QWidget* window : QApplication::topLevelWidgets())
                       if (qobject_cast<GuideWindow*>(window) && window->isVisible())
                           shown.window = window;
                   return shown;
               })
            << 100 << screen;
    }
}

void tst_WindowFit::windows() {
    QFETCH(WindowMaker, make);
    QFETCH(int, fewestMeasured);
    QFETCH(QString, screen);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScriptedPrompts prompts;
    const Shown shown = make(prompts, dir.path());
    QVERIFY(shown.window != nullptr);
    shown.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.window));
    int measured = 0;
    const QStringList faults = faultsOf(shown.window, measured);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QVERIFY2(measured >= fewestMeasured, qPrintable(QString::number(measured)));
    QCOMPARE(prompts.asked, QStringList());
    if (screen.isEmpty())
        return;
    // A title bar off the screen cannot be dragged back; a status line there is unread.
    QCOMPARE(shown.window->screen()->name(), screen);
    const QRect free = shown.window->screen()->availableGeometry();
    QVERIFY2(free.contains(shown.window->frameGeometry()), qPrintable(describe(shown.window)));
    if (const auto* main = qobject_cast<const MainWindow*>(shown.window)) {
        const QSize frame = main->frameGeometry().size() - main->size();
        QVERIFY2(free.size().expandedTo(main->minimumSize() + frame) == free.size(),
                 qPrintable(describe(main)));
    }
}

// The platform's own screen, with the two laptop screens to its right, each at the size
// its name says after scaling; its frames as a window system's, though thinner.
int main(int argc, char** argv) {
    QTemporaryDir config;
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QStringLiteral("offscreen")) {
        const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
        QJsonArray screens;
        const auto add = [&](const QString& name, const QRect& place) {
            screens.append(QJsonObject{{"name", name},
                                       {"x", int(place.x() * scale)},
                                       {"y", int(place.y() * scale)},
                                       {"width", int(place.width() * scale)},
                                       {"height", int(place.height() * scale)}});
        };
        add(QStringLiteral("platform"), QRect(0, 0, 800, 800));
        for (const auto& [name, place] : kLaptops)
            add(name, place);
        QFile file(config.filePath(QStringLiteral("screens.json")));
        file.open(QIODevice::WriteOnly);
        file.write(QJsonDocument(QJsonObject{{"screens", screens}, {"windowFrameMargins", true}})
                       .toJson());
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    tst_WindowFit test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_windowfit.moc"
