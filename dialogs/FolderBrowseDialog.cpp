#include "dialogs/FolderBrowseDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>

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
    // Below everything the dialog has, across its width.
    auto* const remember = new QCheckBox(QStringLiteral("&Remember this folder"), &dialog);
    remember->setObjectName(QStringLiteral("rememberFolder"));
    remember->setChecked(remember_);
    if (auto* const grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(remember, grid->rowCount(), 0, 1, grid->columnCount());
    // Only the owner is blocked while the dialog is open.
    dialog.setWindowModality(Qt::WindowModal);

    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return false;
    // cleanPath drops a trailing separator, except the root's: "/" and "C:\" stay whole.
    remember_ = remember->isChecked();
    selectedFolder_ = QDir::toNativeSeparators(QDir::cleanPath(chosen.first()));
    return true;
}
