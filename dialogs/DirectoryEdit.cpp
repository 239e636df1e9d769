#include "dialogs/DirectoryEdit.h"

#include "dialogs/Prompts.h"

#include <QDialog>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>

namespace {

// Three small square dots, in the button text colour of the given state, so a
// disabled field shows them grey.
QPixmap dotsPixmap(const QPalette& palette, QPalette::ColorGroup group, qreal ratio) {
    const int dot = 2, gap = 2;
    QPixmap pixmap(QSize(3 * dot + 2 * gap, dot) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (int i = 0; i < 3; ++i)
        painter.fillRect(i * (dot + gap), 0, dot, dot, palette.color(group, QPalette::ButtonText));
    return pixmap;
}

QIcon dotsIcon(const QPalette& palette, qreal ratio) {
    QIcon icon;
    icon.addPixmap(dotsPixmap(palette, QPalette::Active, ratio), QIcon::Normal);
    icon.addPixmap(dotsPixmap(palette, QPalette::Disabled, ratio), QIcon::Disabled);
    return icon;
}

} // namespace

DirectoryEdit::DirectoryEdit(Prompts& prompts, QWidget* parent)
    : QLineEdit(parent), prompts_(prompts), button_(new QToolButton(this)) {
    button_->setObjectName(QStringLiteral("browseButton"));
    button_->setAccessibleName(QStringLiteral("Browse"));
    button_->setToolTip(QStringLiteral("Choose Folder"));
    // The field keeps the keyboard: Tab goes on to the next control, Enter browses.
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->setIcon(dotsIcon(palette(), devicePixelRatioF()));
    button_->setIconSize(QSize(10, 2));
    connect(button_, &QToolButton::clicked, this, &DirectoryEdit::click);
    // A path longer than the field can still be read whole.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { setToolTip(text); });
    placeButton();
}

void DirectoryEdit::click() {
    if (!isEnabled())
        return;
    // The folder typed, when it is one, is what the user means to start from: opening
    // at the old folder would put it back over the typing at the next Enter.
    const QString typed = text().trimmed();
    const bool typedIsFolder = !typed.isEmpty() && QFileInfo(typed).isDir();
    const std::optional<QString> chosen =
        prompts_.chooseFolderInDialog(typedIsFolder ? typed : startFolder_);
    if (!chosen)
        return;
    startFolder_ = *chosen;
    setText(*chosen);
    emit folderChosen(*chosen);
}

void DirectoryEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Accepted here, so the key never travels on to the dialog's default button,
        // and the base class never sees it, so nothing is inserted.
        event->accept();
        click();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DirectoryEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeButton();
}

void DirectoryEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        button_->setIcon(dotsIcon(palette(), devicePixelRatioF()));
        placeButton();
        break;
    default:
        break;
    }
}

void DirectoryEdit::placeButton() {
    // The client area is the field inside its frame; the button fills its right end,
    // as wide as a vertical scroll bar, and the text stops where the button starts.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect client = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    button_->setGeometry(client.right() + 1 - width, client.top(), width, client.height());
    const QMargins margins = textMargins();
    if (margins.right() != width)
        setTextMargins(margins.left(), margins.top(), width, margins.bottom());
}
