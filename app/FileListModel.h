#pragma once
// The file list's entries as a list model with a tick box per row. It holds the
// entries themselves, so a folder of a hundred thousand files is listed in one step
// and the view asks only for the rows it shows, and the folder they were found in. The
// text shown is the entry's display text in the file system's encoding, also as the
// row's tool tip; ticks are the check state. While the folder is not there the rows are
// shown greyed.

#include "app/FileList.h"

#include <QAbstractListModel>

class FileListModel : public QAbstractListModel, public FileList {
    Q_OBJECT
public:
    explicit FileListModel(QObject* parent = nullptr);

    std::vector<mp::ListEntry> entries() const override { return entries_; }
    bool isEmpty() const override { return entries_.empty(); }
    std::string folder() const override { return folder_; }
    void setEntries(std::vector<mp::ListEntry> entries, std::string folder) override;
    // Row by row where few change, so that the view keeps its selection; in one reset
    // where many do.
    void update(const std::vector<std::string>& removed, std::vector<mp::ListEntry> added,
                const std::vector<std::pair<std::string, std::string>>& renamed) override;
    void setFolderThere(bool there) override;

    // The row of the entry of fileName, or -1; the file name of a row.
    int rowOf(const std::string& fileName) const;
    std::string fileNameAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<mp::ListEntry> entries_;
    std::string folder_;
    bool folderThere_ = true;
};
