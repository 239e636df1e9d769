#pragma once
// The viewer windows that are open, in the order they were made, each under the name
// of the file it shows (isSameFileName: exact where names tell letter case apart). The
// windows belong to the owner given at construction, so any still open go with it, and
// keep their size in the settings store given with it, which outlives the list. Each
// new viewer opens where ViewerCascade places it, on the screen of the owner, clear of
// the owner's file list where there is room.

#include "app/Viewers.h"

#include <QPointer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QWidget;
class Prompts;
class SettingsStore;
class ViewerWindow;

class OpenViewerList : public Viewers {
public:
    OpenViewerList(QWidget* owner, SettingsStore& store, Prompts& prompts)
        : owner_(owner), store_(store), prompts_(prompts) {}

    bool raise(const std::string& fileName) override;
    void open(const std::string& fileName, const QString& caption, mp::LineList lines,
              bool twoFigures, const std::string& folder) override;
    void selectLine(const std::string& fileName, std::uint64_t line) override;
    // Closes every viewer, last first, and has it destroyed once the events already
    // queued for it are handled. The list is empty afterwards.
    void closeAll() override;
    std::vector<std::string> fileNames() const override;
    void noteFileChanged(const std::string& fileName, bool removed) override;
    void reread(const std::string& fileName, mp::LineList lines) override;

    // What a viewer asking to read its file again (F5) runs, with its file name.
    void onRereadWanted(std::function<void(const std::string&)> reread) {
        rereadWanted_ = std::move(reread);
    }

    // The file list that new viewers keep clear of; it outlives the list.
    void keepClearOf(const QWidget* fileList) { fileList_ = fileList; }

    // The viewer of fileName, or nullptr.
    ViewerWindow* find(const std::string& fileName) const;

private:
    void place(ViewerWindow& viewer) const;

    QWidget* owner_;
    const QWidget* fileList_ = nullptr;
    SettingsStore& store_;
    Prompts& prompts_; // the viewers' questions
    std::vector<std::pair<std::string, QPointer<ViewerWindow>>> pairs_;
    QPointer<ViewerWindow> lastOpened_;
    std::function<void(const std::string&)> rereadWanted_;
};
