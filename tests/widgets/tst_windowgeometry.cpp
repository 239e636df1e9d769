// A window's geometry kept in the settings store: what comes back on the next showing,
// wherever the stored value came from.

#include "settings/SettingsStore.h"
#include "widgets/DesignSize.h"
#include "widgets/ScreenFit.h"
#include "widgets/WindowGeometry.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

class TestWindowGeometry : public QObject {
    Q_OBJECT
private slots:
    void restoresWhatCanBeShown_data();
    void restoresWhatCanBeShown();
    void savedGeometryComesBack();
    void designSizeFollowsTheFont_data();
    void designSizeFollowsTheFont();
};

namespace {

const QString kSection = QStringLiteral("Windows");
const QSize kDesign(350, 450);
const QPoint kDesignPosition(36, 34);

QRect screenArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

void TestWindowGeometry::restoresWhatCanBeShown_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("withPosition");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("position");

    const QRect area = screenArea();
    // The frame the window system adds, which must lie on the screen too.
    QWidget probe;
    const QMargins frame = frameMarginsOf(probe);
    const QSize room = area.size().shrunkBy(frame);
    QTest::newRow("nothing stored: the design size and place")
        << QString() << true << kDesign << kDesignPosition;
    QTest::newRow("stored on the screen: as stored")
        << QStringLiteral("40 50 400 500") << true << QSize(400, 500) << QPoint(40, 50);
    QTest::newRow("stored off every screen: moved back onto one")
        << QStringLiteral("%1 %2 400 500").arg(area.right() + 5000).arg(area.bottom() + 5000)
        << true << QSize(400, 500)
        << QPoint(area.right() + 1 - 400 - frame.left() - frame.right(),
                  area.bottom() + 1 - 500 - frame.top() - frame.bottom());
    QTest::newRow("stored far left and above: moved to the corner")
        << QStringLiteral("-9000 -9000 400 500") << true << QSize(400, 500) << area.topLeft();
    QTest::newRow("larger than the screen: the screen's size, frame and all")
        << QStringLiteral("0 0 90000 90000") << true << room << area.topLeft();
    QTest::newRow("below the minimum: the minimum")
        << QStringLiteral("40 50 10 10") << true << kDesign << QPoint(40, 50);
    QTest::newRow("not four numbers: the design")
        << QStringLiteral("40 50 400") << true << kDesign << kDesignPosition;
    QTest::newRow("not numbers: the design")
        << QStringLiteral("left top wide high") << true << kDesign << kDesignPosition;
    QTest::newRow("size only: the size, the place untouched")
        << QStringLiteral("420 480") << false << QSize(420, 480) << QPoint(20, 30);
    QTest::newRow("size only, too large for where it was placed: moved onto the screen")
        << QStringLiteral("%1 %2").arg(area.width()).arg(area.height() - 10) << false
        << QSize(area.width(), area.height() - 10).boundedTo(room) << area.topLeft();
    QTest::newRow("size only, with a position stored: the design size")
        << QStringLiteral("40 50 420 480") << false << kDesign << QPoint(20, 30);
}

void TestWindowGeometry::restoresWhatCanBeShown() {
    QFETCH(QString, stored);
    QFETCH(bool, withPosition);
    QFETCH(QSize, size);
    QFETCH(QPoint, position);

    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    if (!stored.isEmpty())
        store.writeString(kSection, QStringLiteral("Window"), stored);

    QWidget window;
    QFont font = window.font();
    font.setPixelSize(8); // smaller than the design font: the design size stands
    window.setFont(font);
    window.setMinimumSize(kDesign);
    window.move(20, 30);
    const WindowGeometry geometry(store, QStringLiteral("Window"),
                                  withPosition ? WindowGeometry::Keep::SizeAndPosition
                                               : WindowGeometry::Keep::SizeOnly);
    geometry.restore(window, kDesign, withPosition ? std::optional(kDesignPosition) : std::nullopt);

    QCOMPARE(window.size(), size);
    QCOMPARE(window.pos(), position);
}

void TestWindowGeometry::savedGeometryComesBack() {
    QTemporaryDir dir;
    const QString location = dir.filePath(QStringLiteral("settings.ini"));
    {
        SettingsStore store(location);
        QWidget window;
        window.resize(410, 470);
        window.move(60, 70);
        WindowGeometry(store, QStringLiteral("Main"), WindowGeometry::Keep::SizeAndPosition)
            .save(window);
    }
    SettingsStore store(location);
    QWidget window;
    WindowGeometry(store, QStringLiteral("Main"), WindowGeometry::Keep::SizeAndPosition)
        .restore(window, kDesign, kDesignPosition);
    QCOMPARE(window.size(), QSize(410, 470));
    QCOMPARE(window.pos(), QPoint(60, 70));
    // The other keys and sections of the store are not touched.
    QCOMPARE(
        store.readString(QStringLiteral("paths"), QStringLiteral("Quillet"), QStringLiteral("-")),
        QStringLiteral("-"));
}

void TestWindowGeometry::designSizeFollowsTheFont_data() {
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("larger");

    QTest::newRow("a small font keeps the design size") << 6 << false;
    QTest::newRow("a large font scales it up") << 26 << true;
}

void TestWindowGeometry::designSizeFollowsTheFont() {
    QFETCH(int, pixelSize);
    QFETCH(bool, larger);

    QFont font;
    font.setPixelSize(pixelSize);
    const QSize scaled = designSize(kDesign, font);
    QVERIFY(scaled.width() >= kDesign.width() && scaled.height() >= kDesign.height());
    QCOMPARE(scaled.width() > kDesign.width(), larger);
    // The proportions stay as drawn.
    QVERIFY(qAbs(scaled.width() * kDesign.height() - scaled.height() * kDesign.width()) <
            kDesign.height() + kDesign.width());
}

QTEST_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
