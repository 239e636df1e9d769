// The viewer's grid model and its total texts: every cell against the field positions
// shown one character per byte, the marks, their tool tips, the lines not counted and
// the walk from mark to mark against the record format, the column sums against
// Reference.h, and the totals
// text against an exact formatting of the sum in hundredths. Then the picture of any
// double against its exact decimal expansion rounded by hand, and, for some inputs, the
// window itself showing the file.
//
// Input: a flags byte (bit 0: two figures; bit 1: show the file in a window), eight
// bytes of a double, then the file's bytes.

#include "Reference.h"

#include "dialogs/Prompts.h"
#include "masterpoint/LineList.h"
#include "settings/SettingsStore.h"
#include "viewer/TotalField.h"
#include "viewer/ViewerModel.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

namespace {

// The window asks nothing while it only shows a file; any question would be a finding.
class NoQuestions : public Prompts {
public:
    std::optional<FolderChoice> browseForFolder(const QString&, const QString&, bool) override {
        return unexpected();
    }
    std::optional<QString> chooseFolderInDialog(const QString&) override { return unexpected(); }
    std::optional<QString> chooseSaveName(const QString&) override { return unexpected(); }
    std::optional<PathSettings> editPaths(const PathSettings&) override { return unexpected(); }
    void showAbout() override { unexpected(); }
    void showMessage(const QString&) override { unexpected(); }
    void showWarning(const QString&) override { unexpected(); }
    bool askYesNo(const QString&) override { return unexpected(), false; }
    bool askToProceed(const QString&, const QString&) override { return unexpected(), false; }
    bool choosePrinter(QPrinter&) override { return unexpected(), false; }
    void previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override { unexpected(); }
    void showError(const QString&, const QString&) override { unexpected(); }

private:
    static std::nullopt_t unexpected() {
        std::abort();
        return std::nullopt;
    }
};

QApplication* application = nullptr;
NoQuestions* prompts = nullptr;
QTemporaryDir* settingsFolder = nullptr;
SettingsStore* store = nullptr;
ViewerWindow* window = nullptr;
TotalField* firstTotal = nullptr;
TotalField* secondTotal = nullptr;

// One character per byte, built without any codec.
QString latin1(const std::string& bytes) {
    QString text;
    for (const char c : bytes) {
        text.append(QChar(static_cast<char16_t>(static_cast<unsigned char>(c))));
    }
    return text;
}

std::string shown(const QString& text) {
    return ref::shown(text.toStdString());
}

char systemPoint() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '\0';
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    application = new QApplication(*argc, *argv);
    settingsFolder = new QTemporaryDir(QDir::temp().filePath(QStringLiteral("fuzz-viewer-XXXXXX")));
    store = new SettingsStore(settingsFolder->filePath(QStringLiteral("settings.ini")));
    prompts = new NoQuestions;
    window = new ViewerWindow(nullptr, *store, *prompts);
    firstTotal = window->findChild<TotalField*>(QStringLiteral("firstTotal"));
    secondTotal = window->findChild<TotalField*>(QStringLiteral("secondTotal"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) {
        return 0;
    }
    const bool twoFigures = (data[0] & 1) != 0;
    const bool inWindow = (data[0] & 2) != 0;
    double raw = 0;
    std::memcpy(&raw, data + 1, sizeof raw);
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 9, size - 9);

    // Any double through the picture, with either decimal symbol.
    for (const char point : {'.', ','}) {
        const QString text = TotalField::formatPicture(raw, QLatin1Char(point));
        const std::string expected = ref::pictureText(raw, point);
        char exact[64];
        std::snprintf(exact, sizeof exact, "%.17g (%a)", raw, raw);
        REF_CHECK(text == QString::fromStdString(expected), std::string("picture of ") + exact +
                                                                ": " + shown(text) + ", expected " +
                                                                ref::shown(expected));
    }

    // The file in the grid model.
    const std::vector<std::string> lines = ref::lines(bytes);
    ViewerModel model(mp::LineList::fromBytes(bytes), twoFigures);
    const int columns = twoFigures ? 3 : 2;
    REF_CHECK(model.rowCount() == static_cast<int>(lines.size()),
              "rows " + std::to_string(model.rowCount()) + " for " + ref::shown(bytes));
    REF_CHECK(model.columnCount() == columns, "columns " + std::to_string(model.columnCount()));
    REF_CHECK(model.twoFigures() == twoFigures, "twoFigures");
    ref::Sums sums;
    std::uint64_t notCounted = 0;
    std::uint64_t outOfFormat = 0;
    ref::Sums outOfFormatSums;
    std::vector<QModelIndex> marked; // in reading order
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const std::string& line = lines[row];
        const std::string lineMarks = ref::marks(line, twoFigures);
        const std::string cells[] = {ref::memberCell(line), ref::figureCell(line, 8),
                                     ref::figureCell(line, 14)};
        for (int column = 0; column < columns; ++column) {
            const QModelIndex index = model.index(static_cast<int>(row), column);
            const QString got = model.data(index).toString();
            REF_CHECK(got == latin1(cells[column]), "line " + ref::shown(line) + " column " +
                                                        std::to_string(column) + ": " + shown(got) +
                                                        ", expected " + ref::shown(cells[column]));
            REF_CHECK(model.flags(index) == (Qt::ItemIsEnabled | Qt::ItemIsSelectable),
                      "flags of a cell");
            // The fixed column and the marked cells have a background of their own, and
            // only marked cells a tool tip, which says why.
            const char mark = lineMarks[static_cast<std::size_t>(column)];
            REF_CHECK(model.data(index, Qt::BackgroundRole).isValid() ==
                          (column == 0 || mark != '.'),
                      "background of column " + std::to_string(column) + " of " + ref::shown(line));
            const QString tip = model.data(index, Qt::ToolTipRole).toString();
            const QString digits = twoFigures ? QStringLiteral("19") : QStringLiteral("13");
            const QString expectedTip =
                mark == 'N'   ? QStringLiteral("Not a number: not counted in the total")
                : mark == 'R' ? QStringLiteral("Not a %1-digit record").arg(digits)
                : mark == 'C'
                    ? QStringLiteral("Counted in the total, but this line is not a %1-digit record")
                          .arg(digits)
                    : QString();
            REF_CHECK(tip == expectedTip, "tool tip of column " + std::to_string(column) + " of " +
                                              ref::shown(line) + ": " + shown(tip));
            if (mark != '.') {
                marked.push_back(index);
            }
        }
        if (lineMarks.find('N') != std::string::npos) {
            ++notCounted;
        }
        if (lineMarks.find('C') != std::string::npos) {
            ++outOfFormat;
            ref::add(outOfFormatSums, line, twoFigures);
        }
        REF_CHECK(!model.data(model.index(static_cast<int>(row), columns)).isValid(),
                  "a cell right of the last column");
        ref::add(sums, line, twoFigures);
    }
    REF_CHECK(!model.index(static_cast<int>(lines.size()), 0).isValid(), "a row below the last");

    const mp::FileSummary& summary = model.summary();
    REF_CHECK(summary.records == lines.size() && summary.notCounted == notCounted &&
                  summary.outOfFormat == outOfFormat,
              std::to_string(summary.records) + " records, " + std::to_string(summary.notCounted) +
                  " not counted, " + std::to_string(summary.outOfFormat) +
                  " out of format; expected " + std::to_string(lines.size()) + ", " +
                  std::to_string(notCounted) + ", " + std::to_string(outOfFormat));
    REF_CHECK(summary.outOfFormatTotals.first == outOfFormatSums.first &&
                  summary.outOfFormatTotals.second == outOfFormatSums.second,
              "out of format adding " + std::to_string(summary.outOfFormatTotals.first) + "/" +
                  std::to_string(summary.outOfFormatTotals.second) + ", expected " +
                  std::to_string(outOfFormatSums.first) + "/" +
                  std::to_string(outOfFormatSums.second));
    // F8's walk: from nowhere to the first mark, from each to the next, the last to the first.
    QModelIndex at = model.nextMarked(QModelIndex());
    for (std::size_t i = 0; i <= marked.size() && !marked.empty(); ++i) {
        REF_CHECK(at == marked[i % marked.size()], "walk of the marks, step " + std::to_string(i));
        at = model.nextMarked(at);
    }
    REF_CHECK(!marked.empty() || !at.isValid(), "a walk where nothing is marked");

    const mp::Totals totals = model.totals();
    REF_CHECK(totals.first == sums.first && totals.second == sums.second,
              "totals " + std::to_string(totals.first) + "/" + std::to_string(totals.second) +
                  ", expected " + std::to_string(sums.first) + "/" + std::to_string(sums.second));
    // The window shows each sum as points: the sum in hundredths over 100.
    for (const std::int64_t sum : {sums.first, sums.second}) {
        const QString text = TotalField::formatPicture(static_cast<double>(sum) / 100.0, '.');
        REF_CHECK(text == QString::fromStdString(ref::totalText(sum, '.')),
                  "total of " + std::to_string(sum) + " hundredths shown as " + shown(text));
    }

    if (inWindow) {
        const char point = systemPoint();
        window->showFile(QStringLiteral("FUZZ.GLD"), mp::LineList::fromBytes(bytes), twoFigures);
        REF_CHECK(window->findChild<ViewerModel*>()->rowCount() == static_cast<int>(lines.size()),
                  "window rows");
        if (point != '\0') {
            REF_CHECK(firstTotal->text() ==
                          QString::fromStdString(ref::totalText(sums.first, point)),
                      "first total in the window " + shown(firstTotal->text()));
            if (twoFigures) {
                REF_CHECK(secondTotal->text() ==
                              QString::fromStdString(ref::totalText(sums.second, point)),
                          "second total in the window " + shown(secondTotal->text()));
            }
        }
        REF_CHECK(secondTotal->isVisible() == twoFigures, "second total shown");
        // Left shown: hiding would store the window's size for every input.
    }
    return 0;
}
