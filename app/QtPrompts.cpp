#include "app/QtPrompts.h"

#include "app/ApplicationTitle.h"
#include "dialogs/ErrorText.h"
#include "dialogs/FolderBrowseDialog.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

bool QtPrompts::browseForFolder(FolderBrowseDialog& dialog) {
    return dialog.run();
}

std::optional<QString> QtPrompts::chooseSaveName(QWidget* parent, const QString& proposed) {
    // No filter, no default suffix and no overwrite question: the name is used as typed.
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void QtPrompts::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

void QtPrompts::showError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), errorBoxText(message),
                    QMessageBox::Ok, parent);
    box.exec();
}

int QtPrompts::execDialog(QDialog& dialog) {
    return dialog.exec();
}
