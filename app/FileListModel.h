#pragma once
// The file list's entries as a list model with a tick box per row. It holds the
// entries themselves, so a folder of a hundred thousand files is listed in one step
// and the view asks only for the rows it shows, and the folder they were found in. The
// text shown is the entry's display text in the file system's encoding; ticks are the
// check state. While the folder is not there the rows are shown greyed.
//
// A row's tool tip is its whole name, then the file's date, size and record count
// (readFileFacts), read when the tip is first asked for and kept until the list
// changes: the scan itself never reads a file past its first
// bytes. A file that cannot be read says why in its tip.

#include "app/FileList.h"
#include "masterpoint/FileSystem.h"

#include <QAbstractListModel>
#include <QStringList>
#include <string>
#include <vector>

class FileListModel : public QAbstractListModel, public FileList {
    Q_OBJECT
public:
    // fileSystem, which the tips read through, outlives the model.
    explicit FileListModel(QObject* parent = nullptr,
                           mp::FileSystem& fileSystem = mp::FileSystem::system());

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

    // Ticks every entry, or none.
    void tickAll(bool ticked);
    // Ticks every entry whose points are of colour (mp::entryColour), numbered ones
    // too; the others keep their ticks.
    void tickColour(const std::string& colour);
    // The colours listed, each once, in the order of the kinds (GLD, RED, GRN, GAR,
    // RAG), then any other in the order first met.
    std::vector<std::string> colours() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QString toolTip(std::size_t row) const;
    void ticksChanged();

    mp::FileSystem& fileSystem_;
    std::vector<mp::ListEntry> entries_;
    std::string folder_;
    mutable QStringList tips_; // one per entry, empty until first asked for
    bool folderThere_ = true;
};
