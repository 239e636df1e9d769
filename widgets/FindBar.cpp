#include "widgets/FindBar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>

namespace {

QAction* windowAction(QWidget& window, const char* name, const QString& text,
                      QKeySequence::StandardKey key, const QKeySequence& fallback) {
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.contains(fallback))
        keys.prepend(fallback);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    return action;
}

} // namespace

FindBar::FindBar(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("findBar"));

    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("findField"));
    field_->setAccessibleName(QStringLiteral("Find member"));
    field_->setPlaceholderText(QStringLiteral("Find member"));
    // Member numbers are seven digits; the search looks for them anywhere in the number.
    field_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,7}")), field_));
    field_->setMaxLength(7);
    field_->installEventFilter(this);

    auto* previous = new QToolButton(this);
    previous->setObjectName(QStringLiteral("findPreviousButton"));
    previous->setArrowType(Qt::UpArrow);
    previous->setToolTip(QStringLiteral("Previous (Shift+F3)"));
    previous->setAccessibleName(QStringLiteral("Previous"));
    auto* next = new QToolButton(this);
    next->setObjectName(QStringLiteral("findNextButton"));
    next->setArrowType(Qt::DownArrow);
    next->setToolTip(QStringLiteral("Next (F3)"));
    next->setAccessibleName(QStringLiteral("Next"));

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("findNote"));
    // The bar fits the narrowest viewer: the note takes the room left, never more.
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("findCloseButton"));
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(QStringLiteral("Close the find bar (Esc)"));
    close->setAutoRaise(true);
    close->setAccessibleName(QStringLiteral("Close find bar"));

    auto* layout = new QHBoxLayout(this);
    const int gap = fontMetrics().averageCharWidth();
    layout->setContentsMargins(gap, gap / 2, gap, gap / 2);
    layout->addWidget(field_);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(note_, 1);
    layout->addWidget(close);
    // Seven digits and a little room: the rest of the bar is the note's.
    field_->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000000")) +
                          2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);

    findAction_ = windowAction(window, "findAction", QStringLiteral("&Find\u2026"),
                               QKeySequence::Find, QKeySequence(Qt::CTRL | Qt::Key_F));
    nextAction_ = windowAction(window, "findNextAction", QStringLiteral("Find &next"),
                               QKeySequence::FindNext, QKeySequence(Qt::Key_F3));
    previousAction_ =
        windowAction(window, "findPreviousAction", QStringLiteral("Find &previous"),
                     QKeySequence::FindPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F3));
    for (QWidget* part : {static_cast<QWidget*>(previous), static_cast<QWidget*>(next),
                          static_cast<QWidget*>(close)})
        part->installEventFilter(this);
    connect(findAction_, &QAction::triggered, this, &FindBar::open);
    connect(nextAction_, &QAction::triggered, this, [this] { step(Step::Next); });
    connect(previousAction_, &QAction::triggered, this, [this] { step(Step::Previous); });
    connect(next, &QToolButton::clicked, this, [this] { step(Step::Next); });
    connect(previous, &QToolButton::clicked, this, [this] { step(Step::Previous); });
    connect(field_, &QLineEdit::textEdited, this, [this] { step(Step::Here); });
    connect(field_, &QLineEdit::returnPressed, this, [this] { step(Step::Next); });
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    hide();
}

void FindBar::open() {
    show();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

QString FindBar::text() const {
    return field_->text();
}

void FindBar::step(Step step) {
    // F3 with the bar closed opens it; with nothing typed there is nothing to find.
    if (isHidden()) {
        open();
        if (field_->text().isEmpty())
            return;
    }
    if (field_->text().isEmpty()) {
        report(Outcome::Found);
        return;
    }
    emit searched(field_->text(), step);
}

void FindBar::report(Outcome outcome) {
    switch (outcome) {
    case Outcome::Found:
        note_->clear();
        break;
    case Outcome::Wrapped:
        note_->setText(QStringLiteral("Search wrapped"));
        break;
    case Outcome::NotFound:
        note_->setText(QStringLiteral("Not found"));
        break;
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    // Esc in the bar belongs to the bar, not to the window's close key.
    if (watched->parent() == this &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                hide();
                emit closed();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
