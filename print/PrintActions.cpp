#include "print/PrintActions.h"

#include "dialogs/Prompts.h"
#include "masterpoint/AtomicFile.h"
#include "masterpoint/Error.h"
#include "widgets/NameText.h"
#include "widgets/TableSaver.h"

#include <QAction>
#include <QBuffer>
#include <QLocale>
#include <QMenu>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QWidget>
#include <algorithm>

namespace {

// More pages than this are asked about first: a sheet of paper each.
constexpr int kPagesWithoutAsking = 50;
// Fine enough for any printer the PDF is printed on later.
constexpr int kPdfResolution = 300;

// The paper of the user's country: Letter where inches are the measure, A4 elsewhere.
QPageSize localPaper() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                      : QPageSize(QPageSize::A4);
}

QString pagesText(int pages) {
    return pages == 1 ? QStringLiteral("1 page")
                      : QStringLiteral("%1 pages").arg(QLocale().toString(pages));
}

} // namespace

PrintActions::PrintActions(QWidget& window, Prompts& prompts, SettingsStore& store, Source source)
    : QObject(&window), window_(window), prompts_(prompts), store_(store),
      source_(std::move(source)) {
    const auto make = [this](const char* name, const QString& caption, const QKeySequence& keys) {
        auto* action = new QAction(caption, &window_);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        window_.addAction(action);
        return action;
    };
    printAction_ = make("printAction", QStringLiteral("&Print\u2026"), QKeySequence::Print);
    previewAction_ =
        make("printPreviewAction", QStringLiteral("Print pre&view\u2026"), QKeySequence());
    pdfAction_ = make("savePdfAction", QStringLiteral("Save as P&DF\u2026"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(printAction_, &QAction::triggered, this, &PrintActions::print);
    connect(previewAction_, &QAction::triggered, this, &PrintActions::preview);
    connect(pdfAction_, &QAction::triggered, this, &PrintActions::saveAsPdf);
}

void PrintActions::addTo(QMenu& menu, QAction* before) const {
    menu.insertAction(before, printAction_);
    menu.insertAction(before, previewAction_);
    menu.insertAction(before, pdfAction_);
}

std::optional<PrintJob> PrintActions::job() const {
    std::optional<PrintJob> job = source_.job();
    if (!job)
        prompts_.showMessage(QStringLiteral("There is nothing to print"));
    return job;
}

bool PrintActions::mayPrint(int pages) const {
    return pages <= kPagesWithoutAsking ||
           prompts_.askYesNo(
               QStringLiteral("This prints %1 pages. Print them?").arg(QLocale().toString(pages)));
}

void PrintActions::print() {
    const std::optional<PrintJob> job = this->job();
    if (!job)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job->title);
    if (!prompts_.choosePrinter(printer))
        return;
    TablePrinter pages(*job);
    // The pages the dialog's range leaves, times the copies asked for.
    const int all = pages.pageCount(printer);
    const int first = printer.fromPage() > 0 ? std::min(printer.fromPage(), all) : 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), all) : all;
    const int count = std::max(0, last - first + 1) * std::max(1, printer.copyCount());
    if (!mayPrint(count))
        return;
    if (!pages.print(printer, printer.fromPage(), printer.toPage())) {
        prompts_.showError(
            QStringLiteral("Cannot print %1").arg(job->title),
            QStringLiteral("The printer %1 would not start.").arg(printer.printerName()));
        return;
    }
    source_.status(QStringLiteral("Sent %1 to %2").arg(pagesText(count), printer.printerName()));
}

void PrintActions::preview() {
    const std::optional<PrintJob> job = this->job();
    if (!job)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job->title);
    if (!mayPrint(TablePrinter(*job).pageCount(printer)))
        return;
    prompts_.previewPrint(printer, [&job](QPrinter& target) {
        TablePrinter(*job).print(target, target.fromPage(), target.toPage());
    });
}

void PrintActions::saveAsPdf() {
    const std::optional<PrintJob> job = this->job();
    if (!job)
        return;
    TableSaver saver(prompts_, store_);
    const std::optional<QString> path = saver.chooseName(source_.name(), QStringLiteral(".pdf"));
    if (!path)
        return;
    try {
        writePdf(*job, *path);
        saver.keepFolderOf(*path);
    } catch (const mp::Error& error) {
        QString reason;
        if (error.reason())
            reason = textOfBytes(mp::describe(error.reason()));
        if (!reason.isEmpty())
            reason[0] = reason[0].toUpper();
        prompts_.showError(textOfBytes(error.what()), reason);
    }
}

void PrintActions::writePdf(const PrintJob& job, const QString& path) {
    // Made whole in memory first: a PDF is read from its end, so a file cut short by a
    // full disk would be no PDF at all, and must never take the place of one.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(job.title);
        writer.setCreator(QStringLiteral("mpmgr"));
        writer.setResolution(kPdfResolution);
        writer.setPageSize(localPaper());
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        TablePrinter printer(job);
        pages = printer.pageCount(writer);
        if (!printer.print(writer))
            throw mp::Error::cannotCreateFile(bytesOfText(path));
    }
    const std::string target = bytesOfText(path);
    mp::AtomicFile file(target);
    std::error_code error = file.open();
    if (!error)
        error = file.write(bytes.constData(), std::size_t(bytes.size()));
    if (!error)
        error = file.commit();
    if (error) {
        file.discard();
        throw mp::Error::cannotCreateFile(target, error);
    }
    source_.status(QStringLiteral("Saved %1 to %2").arg(pagesText(pages), path));
}
