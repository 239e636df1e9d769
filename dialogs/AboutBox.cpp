#include "dialogs/AboutBox.h"

#include "dialogs/DialogControls.h"
#include "widgets/DesignSize.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QRadialGradient>
#include <QScreen>
#include <QVBoxLayout>
#include <qdrawutil.h>

namespace {

constexpr int PictureWidth = 625;
constexpr int PictureHeight = 267;

// The four suits as outlines in a unit square, y growing downwards.
QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath ellipse(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath path;
    path.addEllipse(QRectF(x, y, w, h));
    return path;
}

QPainterPath diamondShape() {
    return polygon({{0.5, 0.0}, {0.88, 0.5}, {0.5, 1.0}, {0.12, 0.5}});
}

QPainterPath heartShape() {
    return ellipse(0.04, 0.06, 0.48, 0.46)
        .united(ellipse(0.48, 0.06, 0.48, 0.46))
        .united(polygon({{0.06, 0.38}, {0.94, 0.38}, {0.5, 0.96}}));
}

QPainterPath spadeShape() {
    return polygon({{0.5, 0.02}, {0.94, 0.56}, {0.06, 0.56}})
        .united(ellipse(0.04, 0.34, 0.48, 0.44))
        .united(ellipse(0.48, 0.34, 0.48, 0.44))
        .united(polygon({{0.5, 0.6}, {0.32, 1.0}, {0.68, 1.0}}));
}

QPainterPath clubShape() {
    return ellipse(0.29, 0.02, 0.42, 0.42)
        .united(ellipse(0.04, 0.36, 0.42, 0.42))
        .united(ellipse(0.54, 0.36, 0.42, 0.42))
        .united(ellipse(0.34, 0.3, 0.32, 0.32))
        .united(polygon({{0.5, 0.5}, {0.32, 1.0}, {0.68, 1.0}}));
}

void drawSuit(QPainter& painter, const QPainterPath& shape, const QRectF& box, const QColor& ink) {
    QTransform place;
    place.translate(box.left(), box.top());
    place.scale(box.width(), box.height());
    painter.fillPath(place.map(shape), ink);
}

void drawCard(QPainter& painter, const QPainterPath& suit, const QColor& ink, qreal angle) {
    const QRectF card(-45, -262, 90, 126); // well above the pivot, so the fan opens wide
    painter.save();
    painter.rotate(angle);
    painter.setPen(QPen(QColor(90, 90, 90), 1.5));
    painter.setBrush(QColor(252, 250, 242));
    painter.drawRoundedRect(card, 8, 8);
    drawSuit(painter, suit, QRectF(card.left() + 6, card.top() + 6, 14, 14), ink);
    drawSuit(painter, suit, QRectF(card.center().x() - 26, card.center().y() - 26, 52, 52), ink);
    painter.restore();
}

// A five-bar gate: four strokes and one across, the way a scorer keeps a tally.
void drawTally(QPainter& painter, qreal left, qreal top, int strokes) {
    for (int i = 0; i < strokes && i < 4; ++i)
        painter.drawLine(QPointF(left + i * 11, top), QPointF(left + i * 11, top + 34));
    if (strokes >= 5)
        painter.drawLine(QPointF(left - 6, top + 28), QPointF(left + 39, top + 6));
}

// Draws the panel's double bevel: the outer line lowered, the inner one raised.
void drawDoubleBevel(QFrame* panel) {
    QPainter painter(panel);
    const QRect outer = panel->rect();
    qDrawShadePanel(&painter, outer, panel->palette(), true, 1);
    qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), panel->palette(), false, 1);
}

QLabel* addOpaqueLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(text);
    // Opaque, in the panel's colour, so the text stands clear of the picture.
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Window);
    return label;
}

QPixmap drawPicture() {
    QPixmap pixmap(PictureWidth, PictureHeight);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Green baize, lighter under the lamp, in a wooden rim.
    QRadialGradient baize(QPointF(300, 120), 380);
    baize.setColorAt(0.0, QColor(52, 140, 84));
    baize.setColorAt(1.0, QColor(10, 58, 30));
    painter.fillRect(pixmap.rect(), baize);
    QLinearGradient wood(0, 0, 0, PictureHeight);
    wood.setColorAt(0.0, QColor(128, 76, 38));
    wood.setColorAt(1.0, QColor(82, 46, 20));
    painter.setPen(QPen(QBrush(wood), 12));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(6, 6, PictureWidth - 12, PictureHeight - 12), 18, 18);

    // A fan of four cards, one per suit.
    const QColor black(20, 20, 20);
    const QColor red(190, 20, 30);
    painter.save();
    painter.translate(160, 300);
    drawCard(painter, spadeShape(), black, -20);
    drawCard(painter, heartShape(), red, -7);
    drawCard(painter, diamondShape(), red, 7);
    drawCard(painter, clubShape(), black, 20);
    painter.restore();

    // The product name with a soft shadow, and a tally beneath it.
    QFont title;
    title.setPixelSize(64);
    title.setBold(true);
    painter.setFont(title);
    const QRectF titleBox(300, 72, 300, 90);
    painter.setPen(QColor(0, 0, 0, 110));
    painter.drawText(titleBox.translated(3, 3), Qt::AlignCenter, QStringLiteral("Tallyvue"));
    painter.setPen(QColor(244, 214, 110));
    painter.drawText(titleBox, Qt::AlignCenter, QStringLiteral("Tallyvue"));

    painter.setPen(QPen(QColor(240, 234, 210), 4, Qt::SolidLine, Qt::RoundCap));
    drawTally(painter, 380, 172, 5);
    drawTally(painter, 450, 172, 5);
    drawTally(painter, 520, 172, 3);
    return pixmap;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setAccessibleName(windowTitle());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    const QFont& font = this->font();

    pictureFrame_ = new QFrame(this);
    pictureFrame_->setObjectName(QStringLiteral("pictureFrame"));
    pictureFrame_->setAutoFillBackground(true);
    pictureFrame_->setMinimumSize(designSize(QSize(281, 161), font));
    pictureFrame_->installEventFilter(this);

    // Children of one parent paint in the order they were made, so the picture comes
    // first and the labels lie on top of it.
    auto* picture = new QLabel(pictureFrame_);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setAccessibleName(QStringLiteral("Tallyvue"));
    picture->setScaledContents(true); // stretched, proportions not kept
    picture->setPixmap(drawPicture());
    // The picture fills whatever the panel has; its own size asks for nothing.
    picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    QLabel* productName = addOpaqueLabel(pictureFrame_, "productName", QStringLiteral("Tallyvue"));
    QLabel* version = addOpaqueLabel(pictureFrame_, "version", QStringLiteral("Version 1.0.0.3"));
    QLabel* notice = addOpaqueLabel(pictureFrame_, "notice",
                                    QStringLiteral("Masterpoint files for bridge clubs"));

    // One cell holds the picture and the texts over it: the name and the version at the
    // top right, the notice at the bottom left, each as large as its text asks.
    auto* panel = new QGridLayout(pictureFrame_);
    panel->setContentsMargins(2, 2, 2, 2); // inside the double bevel
    panel->setSpacing(0);
    panel->addWidget(picture, 0, 0, 3, 1);
    panel->addWidget(productName, 0, 0, Qt::AlignTop | Qt::AlignRight);
    panel->addWidget(version, 1, 0, Qt::AlignTop | Qt::AlignRight);
    panel->addWidget(notice, 2, 0, Qt::AlignBottom | Qt::AlignLeft);
    panel->setRowStretch(2, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setCenterButtons(true);
    okButton_ = addDialogButton(buttons, "okButton", QStringLiteral("OK"),
                                QDialogButtonBox::AcceptRole, QSize(75, 25));
    okButton_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    // A fixed box, as large as its contents ask and never smaller than it was drawn.
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const int margin = designPixels(8, font);
    layout->setContentsMargins(margin, margin, designPixels(9, font), margin);
    layout->setSpacing(designPixels(11, font));
    layout->addWidget(pictureFrame_);
    layout->addWidget(buttons);
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen at every showing, wherever it was left. The client area is
    // centred: the frame's size is not known before the first showing, and centring it
    // would place the box differently the first time and the times after.
    if (QScreen* screen = this->screen()) {
        QRect area(QPoint(0, 0), size());
        area.moveCenter(screen->geometry().center());
        setGeometry(area);
    }
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    // Esc presses OK like Enter does; only the close box gives Rejected.
    if (event->matches(QKeySequence::Cancel)) {
        okButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pictureFrame_ && event->type() == QEvent::Paint) {
        drawDoubleBevel(pictureFrame_);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
