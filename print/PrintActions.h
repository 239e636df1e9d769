#pragma once
// "Print…" (Ctrl+P), "Print preview…" and "Save as PDF…" (Ctrl+Shift+S) for a window
// that shows a table of cells, each printing what the window's source gives at that
// moment (TablePrinter).
//
// Print asks for the printer with the print dialog; Print preview shows the preview;
// both ask before more than 50 pages ("This prints 20,834 pages. Print them?"). Save as
// PDF asks for a name as Save as CSV does (TableSaver: the window's name with ".pdf",
// in the folder last saved to, else the user's documents folder, asking before
// replacing a file there), renders the whole PDF in memory and writes it through the atomic file,
// so that a failure leaves any file of that name as it was; then the window's status
// says "Saved 3 pages to /path/CLUB0612.pdf". A failure is shown in the error box with
// its reason. Every question goes through the prompts seam.
//
// The actions are the window's (window shortcuts); addTo puts them in a menu, before
// the action given (at its end without one).

#include "print/TablePrinter.h"

#include <QObject>
#include <functional>
#include <optional>

class Prompts;
class QAction;
class QMenu;
class QPrinter;
class QWidget;
class SettingsStore;

class PrintActions : public QObject {
    Q_OBJECT
public:
    struct Source {
        // What to print now; nothing when there is nothing (the actions then say so).
        std::function<std::optional<PrintJob>()> job;
        // The name a PDF is proposed under, without its folder or ".pdf".
        std::function<QString()> name;
        // Says what was done on the window's status line.
        std::function<void(const QString&)> status;
    };

    // prompts and store outlive the actions.
    PrintActions(QWidget& window, Prompts& prompts, SettingsStore& store, Source source);

    void addTo(QMenu& menu, QAction* before = nullptr) const;

    void print();
    void preview();
    void saveAsPdf();

private:
    std::optional<PrintJob> job() const;
    // Asks before printing pages pages when they are many; true to go on.
    bool mayPrint(int pages) const;
    void writePdf(const PrintJob& job, const QString& path);

    QWidget& window_;
    Prompts& prompts_;
    SettingsStore& store_;
    Source source_;
    QAction* printAction_;
    QAction* previewAction_;
    QAction* pdfAction_;
};
