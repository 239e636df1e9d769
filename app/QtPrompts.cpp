#include "app/QtPrompts.h"

#include "app/ApplicationTitle.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ChooseFolderDialog.h"
#include "dialogs/ErrorText.h"
#include "dialogs/FolderBrowseDialog.h"
#include "dialogs/PathsDialog.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

QWidget* QtPrompts::parentWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

std::optional<QString> QtPrompts::chooseFolder(const QString& title, const QString& start) {
    FolderBrowseDialog dialog(parentWindow());
    dialog.setTitle(title);
    dialog.setSelectedFolder(start);
    if (!dialog.run())
        return std::nullopt;
    return dialog.selectedFolder();
}

std::optional<QString> QtPrompts::chooseDirectory(const QString& title, const QString& start) {
    ChooseFolderDialog dialog(*this, start, parentWindow());
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenFolder();
}

std::optional<QString> QtPrompts::chooseSaveName(const QString& proposed) {
    // No filter, no default suffix and no overwrite question: the name is used as typed.
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

std::optional<PathSettings> QtPrompts::editPaths(const PathSettings& current) {
    PathsDialog dialog(*this, parentWindow());
    dialog.setValues(current);
    if (dialog.exec() != QDialog::Accepted)
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

void QtPrompts::showError(const QString& message) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), errorBoxText(message),
                    QMessageBox::Ok, parentWindow());
    box.exec();
}
