#include "viewer/ViewerWindow.h"

#include "viewer/TotalField.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerModel.h"

#include <QFrame>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMoveEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr int oneFigureWidth = 233;
constexpr int twoFigureWidth = 333;
constexpr int windowHeight = 480;
constexpr int designWidth = 241;

QString statusText(const mp::FileSummary& summary) {
    const QLocale locale = QLocale::system();
    QString text =
        summary.records == 1
            ? QStringLiteral("1 record")
            : QStringLiteral("%1 records").arg(locale.toString(qulonglong(summary.records)));
    if (summary.notCounted > 0)
        text +=
            QStringLiteral(", %1 not counted").arg(locale.toString(qulonglong(summary.notCounted)));
    return text;
}

} // namespace

ViewerWindow::ViewerWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("ViewerWindow"));
    // Closing hides the window; its owner decides when it goes, and a viewer being
    // closed must never end the program.
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    grid_ = new ViewerGrid(this);
    grid_->setObjectName(QStringLiteral("grid"));

    totalsPanel_ = new QFrame(this);
    totalsPanel_->setObjectName(QStringLiteral("totalsPanel"));
    totalsPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    totalsPanel_->setFixedHeight(41);

    closeButton_ = new QPushButton(QStringLiteral("Close"), totalsPanel_);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setAccessibleName(QStringLiteral("Close"));
    closeButton_->setGeometry(10, 10, 75, 25);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);

    firstTotal_ = new TotalField(totalsPanel_);
    firstTotal_->setObjectName(QStringLiteral("firstTotal"));
    firstTotal_->setAccessibleName(QStringLiteral("Total"));
    firstTotal_->setGeometry(117, 11, 81, 21);

    totalLabel_ = new QLabel(QStringLiteral("Total"), totalsPanel_);
    totalLabel_->setObjectName(QStringLiteral("totalLabel"));
    totalLabel_->setAccessibleName(QStringLiteral("Total"));
    totalLabel_->move(88, 16);
    totalLabel_->adjustSize();

    secondTotal_ = new TotalField(totalsPanel_);
    secondTotal_->setObjectName(QStringLiteral("secondTotal"));
    secondTotal_->setAccessibleName(QStringLiteral("Total"));
    secondTotal_->setGeometry(213, 11, 81, 21);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("statusBar"));
    statusLine_ = new QLabel(statusBar_);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusBar_->addWidget(statusLine_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(totalsPanel_);
    layout->addWidget(grid_, 1);
    layout->addWidget(statusBar_);

    setTabOrder(closeButton_, firstTotal_);
    setTabOrder(firstTotal_, secondTotal_);
    setTabOrder(secondTotal_, grid_);

    resize(designWidth, windowHeight);
}

void ViewerWindow::showFile(const QString& caption, mp::LineList lines, bool twoFigures) {
    setWindowTitle(caption);

    ViewerModel* previous = model_;
    QItemSelectionModel* previousSelection = grid_->selectionModel();
    model_ = new ViewerModel(std::move(lines), twoFigures, this);
    grid_->setModel(model_);
    // The view owns neither the model nor its old selection model.
    delete previousSelection;
    delete previous;

    setOuterSize(twoFigures ? twoFigureWidth : oneFigureWidth, windowHeight);

    const mp::Totals totals = model_->totals();
    firstTotal_->setAsFloat(static_cast<double>(totals.first) / 100.0);
    if (twoFigures) {
        secondTotal_->setAsFloat(static_cast<double>(totals.second) / 100.0);
        secondTotal_->show();
    } else {
        secondTotal_->hide();
    }
    statusLine_->setText(statusText(model_->summary()));

    restoreAndRaise();
}

void ViewerWindow::keyPressEvent(QKeyEvent* event) {
    // The grid, the buttons and the totals leave F8 alone, so it reaches the window
    // from wherever the focus is.
    if (event->key() == Qt::Key_F8 && event->modifiers() == Qt::NoModifier) {
        moveToNextMark();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ViewerWindow::moveToNextMark() {
    if (model_ == nullptr)
        return;
    const QModelIndex next = model_->nextMarked(grid_->currentIndex());
    if (!next.isValid())
        return;
    grid_->setFocus(Qt::ShortcutFocusReason);
    grid_->setCurrentIndex(next);
    grid_->scrollTo(next);
}

void ViewerWindow::restoreAndRaise() {
    show();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    raise();
    activateWindow();
}

void ViewerWindow::setOuterSize(int width, int height) {
    const QRect frame = frameGeometry();
    const int frameWidth = frame.width() - this->width();
    const int frameHeight = frame.height() - this->height();
    resize(width - frameWidth, height - frameHeight);
    // Until the window has been decorated once, the frame is not known yet.
    pendingOuterSize_ = (frameWidth > 0 || frameHeight > 0) ? QSize() : QSize(width, height);
}

void ViewerWindow::applyPendingOuterSize() {
    if (!pendingOuterSize_.isValid())
        return;
    const QRect frame = frameGeometry();
    if (frame.size() == size())
        return; // still no frame reported
    const QSize outer = pendingOuterSize_;
    pendingOuterSize_ = QSize();
    resize(outer.width() - (frame.width() - width()), outer.height() - (frame.height() - height()));
}

void ViewerWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    applyPendingOuterSize();
}

void ViewerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyPendingOuterSize();
}
