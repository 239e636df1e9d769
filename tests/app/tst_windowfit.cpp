// Every window and dialog shown with a 13-point application font (and, run a second time,
// at a scale of 2): each label, button, field and header has room for the text it shows,
// lies inside its parent and overlaps no other control; text that is shortened to fit
// can be read whole in its tool tip.
//
// A window joins the check with one row in windows_data(): a name and a function that
// builds it, as the program would, in the row's own temporary folder.

#include "dialogs/AboutBox.h"
#include "dialogs/ChooseFolderDialog.h"
#include "dialogs/PathsDialog.h"
#include "support/ScriptedPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionHeader>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Builds a window in a fixture folder; the prompts answer any question it asks.
using WindowMaker =
    std::function<std::unique_ptr<QWidget>(ScriptedPrompts& prompts, const QString& folder)>;

// A long path, as deep as a real one on a USB stick can be.
QString deepFolder(const QString& folder) {
    const QString deep = folder + QStringLiteral("/Masterpoint files of the club") +
                         QStringLiteral("/Season 2024 to 2025/Results by month/November");
    QDir().mkpath(deep);
    return deep;
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

// Every fault of a shown window, one line each.
QStringList faultsOf(QWidget* window) {
    QStringList faults;
    QList<QWidget*> shown;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->window() != window)
            continue;
        shown << widget;
        const QString fault = whatDoesNotFit(widget);
        if (!fault.isEmpty())
            faults << describe(widget) + QStringLiteral(": ") + fault;
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
    QTest::newRow("Paths dialog, long paths")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               auto dialog = std::make_unique<PathsDialog>(prompts);
               dialog->setValues({deepFolder(folder), deepFolder(folder) + "/Backup", 9999});
               return std::unique_ptr<QWidget>(std::move(dialog));
           });
    QTest::newRow("About box") << WindowMaker([](ScriptedPrompts&, const QString&) {
        return std::unique_ptr<QWidget>(std::make_unique<AboutBox>());
    });
    QTest::newRow("Choose Folder, long path")
        << WindowMaker([](ScriptedPrompts& prompts, const QString& folder) {
               return std::unique_ptr<QWidget>(
                   std::make_unique<ChooseFolderDialog>(prompts, deepFolder(folder)));
           });
}

void tst_WindowFit::windows() {
    QFETCH(WindowMaker, make);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScriptedPrompts prompts;
    const std::unique_ptr<QWidget> window = make(prompts, dir.path());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QStringList faults = faultsOf(window.get());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QCOMPARE(prompts.asked, QStringList());
}

QTEST_MAIN(tst_WindowFit)
#include "tst_windowfit.moc"
