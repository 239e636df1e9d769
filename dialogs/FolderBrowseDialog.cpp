#include "dialogs/FolderBrowseDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

FolderBrowseDialog::FolderBrowseDialog(QWidget* owner) : QObject(owner), owner_(owner) {}

bool FolderBrowseDialog::run() {
    QWidget* owner = owner_ ? owner_ : QApplication::activeWindow();
    QFileDialog dialog(owner);
    // Qt's own dialog on every platform: the native ones have no place for the
    // instruction text, and tests can answer this one.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!title_.isEmpty())
        dialog.setWindowTitle(title_);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Masterpoint files folder"));
    if (!selectedFolder_.isEmpty())
        dialog.setDirectory(selectedFolder_);
    // Only the owner is blocked while the dialog is open.
    dialog.setWindowModality(Qt::WindowModal);

    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return false;
    // cleanPath drops a trailing separator, except the root's: "/" and "C:\" stay whole.
    selectedFolder_ = QDir::toNativeSeparators(QDir::cleanPath(chosen.first()));
    return true;
}
