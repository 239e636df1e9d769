#pragma once
// The window titled "Find member": a field "Member number" and under it a table of
// every line of that member in the files searched (MemberTable: file, line, figures,
// the viewer's marks, one sum row per colour), then a status line. The table follows
// the typing: once seven digits stand in the field it shows that member's lines, and
// the status line says "Member 5651303: 4 lines in 3 of the 17 files", or "Member
// 5651303 is in none of the 17 files"; with fewer digits the table is empty. Files that
// could not be read are said under it, each with its reason.
//
// Enter (in the field or the table) or a double-click on a body row asks for that
// line's viewer through the opener given. The table sorts by a header click, the sums
// staying at the foot (TableGrid); Ctrl+F opens the find bar, which finds file names
// holding the digits typed. The File menu has "Save as CSV…" (Ctrl+S: TableSaver),
// then printing and "Save as PDF…" (PrintActions, the status line ending the last
// page); what was saved is said under the table. Esc and Ctrl+W close the window.
//
// A top-level window belonging to its owner: closing it only hides it. Each search
// enlarges it, within the screen, until the table fits. Its size and
// place are kept in the settings store under "MemberWindow": restored when it is first
// shown, stored when it is hidden.

#include "masterpoint/MemberIndex.h"
#include "masterpoint/MemberTable.h"
#include "widgets/WindowGeometry.h"

#include <QWidget>
#include <functional>
#include <memory>

class FindBar;
class PrintActions;
class Prompts;
class QLabel;
class QLineEdit;
class SettingsStore;
class TableGrid;
class TableModel;

class MemberWindow : public QWidget {
    Q_OBJECT
public:
    // Opens line (from 0) of entry's file, found in folder, in its viewer.
    using Opener = std::function<void(const mp::ListEntry& entry, const std::string& folder,
                                      std::uint64_t line)>;

    // prompts and store outlive the window.
    MemberWindow(QWidget* owner, SettingsStore& store, Prompts& prompts);

    void setOpener(Opener opener) { opener_ = std::move(opener); }
    // Searches index (of files found in folder) from now on, for the number in the field,
    // and shows the window in front with the field focused.
    void showIndex(mp::MemberIndex index, std::string folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void search();
    void openRow(int row);
    // Grows the window until the table fits, up to three quarters of the screen.
    void fitTable();
    void saveAsCsv();
    void buildMenus();

    WindowGeometry geometry_;
    Prompts& prompts_;
    SettingsStore& store_;
    bool restored_ = false;
    Opener opener_;
    mp::MemberIndex index_;
    std::string folder_;
    std::shared_ptr<const mp::MemberTable> table_;
    QLineEdit* field_;
    TableGrid* view_;
    TableModel* model_ = nullptr;
    FindBar* findBar_;
    QLabel* status_;
    QLabel* problems_;
    QLabel* done_;
    PrintActions* print_ = nullptr;
};
