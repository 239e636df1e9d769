#include "app/QtPrompts.h"

#include "app/ApplicationTitle.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ChooseFolderDialog.h"
#include "dialogs/ErrorText.h"
#include "dialogs/FolderBrowseDialog.h"
#include "dialogs/PathsDialog.h"
#include "widgets/WindowGeometry.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

QtPrompts::QtPrompts(SettingsStore& store) : store_(store) {}

QWidget* QtPrompts::parentWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

std::optional<FolderChoice> QtPrompts::browseForFolder(const QString& title, const QString& start,
                                                       bool remember) {
    FolderBrowseDialog dialog(parentWindow());
    dialog.setTitle(title);
    dialog.setSelectedFolder(start);
    dialog.setRemember(remember);
    if (!dialog.run())
        return std::nullopt;
    return FolderChoice{dialog.selectedFolder(), dialog.remember()};
}

std::optional<QString> QtPrompts::chooseFolderInDialog(const QString& start) {
    ChooseFolderDialog dialog(*this, start, parentWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenFolder();
}

std::optional<QString> QtPrompts::chooseSaveName(const QString& proposed) {
    // No filter and no default suffix: the name is used as typed. Whether an existing
    // file may be replaced is asked by the command, once.
    QFileDialog dialog(parentWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool QtPrompts::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, parentWindow());
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, parentWindow());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    // The pages as they will be printed, not a thumbnail in the dialog's corner.
    if (const QScreen* screen = dialog.screen())
        dialog.resize(screen->availableSize() * 3 / 4);
    dialog.exec();
}

std::optional<PathSettings> QtPrompts::editPaths(const PathSettings& current) {
    PathsDialog dialog(*this, parentWindow());
    WindowGeometry geometry(store_, QStringLiteral("PathsDialog"), WindowGeometry::Keep::SizeOnly);
    geometry.restore(dialog);
    dialog.setValues(current);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    geometry.keep(dialog);
    if (!accepted)
        return std::nullopt;
    return dialog.values();
}

void QtPrompts::showAbout() {
    AboutBox box(parentWindow());
    box.exec();
}

void QtPrompts::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parentWindow());
    box.exec();
}

void QtPrompts::showWarning(const QString& text) {
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Ok,
                    parentWindow());
    box.exec();
}

bool QtPrompts::askYesNo(const QString& question) {
    QMessageBox box(QMessageBox::Question, applicationTitle(), question,
                    QMessageBox::Yes | QMessageBox::No, parentWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompts::askToProceed(const QString& question, const QString& proceed) {
    QMessageBox box(QMessageBox::Warning, applicationTitle(), question, QMessageBox::NoButton,
                    parentWindow());
    QPushButton* const go = box.addButton(proceed, QMessageBox::AcceptRole);
    go->setObjectName(QStringLiteral("proceedButton"));
    QPushButton* const cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == go;
}

void QtPrompts::showError(const QString& message, const QString& reason) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), errorBoxText(message, reason),
                    QMessageBox::Ok, parentWindow());
    box.exec();
}
