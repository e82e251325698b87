// SPDX-License-Identifier: GPL-3.0-or-later
// The folder list: the folders from the root down to the current one, then
// the current folder's subfolders, each indented by its depth. Setting its
// directory also makes that the process's working directory.
#pragma once

#include <QIcon>
#include <QListWidget>
#include <string>
#include <vector>

namespace kelvane {

class TFileListBox;

class TDirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);

    const std::string& Directory() const { return directory_; }
    // Enters the directory and lists it; false, with nothing changed, when
    // it can't be entered. Emits Changed when the directory is a new one.
    bool SetDirectory(const std::string& directory);
    // Lists the subfolders of the current directory again.
    void Update();
    // The list of files that reads each new directory for the window: its
    // read names the subfolders too, so entering a folder reads it once.
    // Other updates read the subfolders apart, leaving that list's read
    // to its own owner.
    void ShareRead(TFileListBox* files) { files_ = files; }

    // The folder an item stands for.
    std::string ItemPath(int row) const;
    // The folder of the highlighted item; the current one when none is.
    std::string HighlightedPath() const;
    // Moves the highlight back onto the current directory's own item.
    void HighlightDirectory();
    // The current directory's own item; the items above it lead down to it.
    int DirectoryRow() const { return directoryRow_; }
    // How far below the root an item's folder is; the root is at 0.
    int Depth(int row) const;

signals:
    void Changed();
    // The keyboard focus came from another control of the window.
    void Entered();
    // The user opened the highlighted item: double-click or Enter.
    void OpenRequested();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Reads the subfolders through the shared list when `entered` a new
    // directory.
    void Fill(bool entered);

    std::string directory_;
    std::vector<std::string> paths_; // the folder of each item, as the file system spells it
    int directoryRow_ = -1;          // the current directory's own item
    TFileListBox* files_ = nullptr;
    // The style's folder icons, asked for once per style: a walk fills the
    // list anew for every folder it enters.
    QIcon openIcon_, closedIcon_;
};

} // namespace kelvane
