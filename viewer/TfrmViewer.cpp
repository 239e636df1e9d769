#include "viewer/TfrmViewer.h"

#include "viewer/TOvcPictureField.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerModel.h"

#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace {

constexpr int oneFigureWidth = 233;
constexpr int twoFigureWidth = 333;
constexpr int windowHeight = 480;
constexpr int designWidth = 241;

} // namespace

TfrmViewer::TfrmViewer(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("frmViewer"));
    // Closing hides the window; its owner decides when it goes, and a viewer being
    // closed must never end the program.
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    StringGrid1 = new ViewerGrid(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(41);

    Button1 = new QPushButton(QStringLiteral("Close"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(QStringLiteral("Close"));
    Button1->setGeometry(10, 10, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TfrmViewer::Button1Click);

    MPTotal1 = new TOvcPictureField(Panel1);
    MPTotal1->setObjectName(QStringLiteral("MPTotal1"));
    MPTotal1->setAccessibleName(QStringLiteral("Total"));
    MPTotal1->setGeometry(117, 11, 81, 21);

    Label1 = new QLabel(QStringLiteral("Total"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(QStringLiteral("Total"));
    Label1->move(88, 16);
    Label1->adjustSize();

    MPTotal2 = new TOvcPictureField(Panel1);
    MPTotal2->setObjectName(QStringLiteral("MPTotal2"));
    MPTotal2->setAccessibleName(QStringLiteral("Total"));
    MPTotal2->setGeometry(213, 11, 81, 21);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(StringGrid1, 1);

    setTabOrder(Button1, MPTotal1);
    setTabOrder(MPTotal1, MPTotal2);
    setTabOrder(MPTotal2, StringGrid1);

    resize(designWidth, windowHeight);
}

void TfrmViewer::showFile(const QString& caption, mp::LineList lines, bool twoFigures) {
    setWindowTitle(caption);

    ViewerModel* previous = model_;
    QItemSelectionModel* previousSelection = StringGrid1->selectionModel();
    model_ = new ViewerModel(std::move(lines), twoFigures, this);
    StringGrid1->setModel(model_);
    // The view owns neither the model nor its old selection model.
    delete previousSelection;
    delete previous;

    setOuterSize(twoFigures ? twoFigureWidth : oneFigureWidth, windowHeight);

    const mp::Totals totals = model_->totals();
    MPTotal1->setAsFloat(static_cast<double>(totals.first) / 100.0);
    if (twoFigures) {
        MPTotal2->setAsFloat(static_cast<double>(totals.second) / 100.0);
        MPTotal2->show();
    } else {
        MPTotal2->hide();
    }

    restoreAndRaise();
}

void TfrmViewer::restoreAndRaise() {
    show();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    raise();
    activateWindow();
}

void TfrmViewer::Button1Click() {
    close();
}

void TfrmViewer::setOuterSize(int width, int height) {
    const QRect frame = frameGeometry();
    const int frameWidth = frame.width() - this->width();
    const int frameHeight = frame.height() - this->height();
    resize(width - frameWidth, height - frameHeight);
    // Until the window has been decorated once, the frame is not known yet.
    pendingOuterSize_ = (frameWidth > 0 || frameHeight > 0) ? QSize() : QSize(width, height);
}

void TfrmViewer::applyPendingOuterSize() {
    if (!pendingOuterSize_.isValid())
        return;
    const QRect frame = frameGeometry();
    if (frame.size() == size())
        return; // still no frame reported
    const QSize outer = pendingOuterSize_;
    pendingOuterSize_ = QSize();
    resize(outer.width() - (frame.width() - width()), outer.height() - (frame.height() - height()));
}

void TfrmViewer::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    applyPendingOuterSize();
}

void TfrmViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyPendingOuterSize();
}
