// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the drive and folder on the left, the plain and the
// crypted files of that folder on the right, the timing figures of a running
// encryption or decryption at the bottom.
#pragma once

#include "commands/FileListBox.h"
#include "platform/Drives.h"
#include "platform/Registry.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QSocketNotifier;
class QTimer;

namespace kelvane {

class TDirectoryListBox;
class TDriveComboBox;
class TGridDrag;
class TMainWinCommands;
class TMainWinTree;
class TProgressBar;
class TStringGrid;
class TTimer;

class TMainWin : public QMainWindow {
    Q_OBJECT
public:
    // Loads the preferences from the registry given, or from the program's
    // own when none is.
    explicit TMainWin(DriveList& drives = SystemDrives(), std::unique_ptr<Registry> registry = {});
    ~TMainWin() override;

    // Menus.
    QMenuBar* MainMenu1;
    QMenu* File1;
    QAction* Options2;
    QAction* Exit1;
    QMenu* Help1;
    QAction* Contents1;
    QAction* About1;
    QMenu* PopupMenu1; // the directory list's
    QAction* Explore1;
    QAction* EncriptAll1;
    QAction* Decriptall1;
    QMenu* PopupMenu2; // the plain files'
    QAction* Open1;
    QAction* Encrypt1;
    QAction* Print1;
    QAction* Delete1;
    QMenu* PopupMenu3; // the crypted files'
    QAction* Open2;
    QAction* Decrypt1;
    QAction* ConvertToAge1;
    QAction* Print2;
    QAction* Delete2;

    // Navigation.
    TDriveComboBox* DriveComboBox1;
    TDirectoryListBox* DirectoryListBox1;
    QLabel* DirLabel; // hidden: the current path, shortened to the list's width

    // The two file lists and the name lists behind them.
    QLabel* Image1;
    QLabel* Label8;
    QLabel* Image2;
    QLabel* Label21;
    TStringGrid* StringGrid1;  // "Available for encryption"
    TStringGrid* StringGrid2;  // "Crypted files"
    TFileListBox FileListBox1; // the plain files, in the rows' order
    TFileListBox FileListBox2; // the crypted files' names as shown
    TFileListBox FileListBox3{TFileListBox::Contents::FilesAndFolders};

    // Progress.
    TProgressBar* ProgressBar1;
    TProgressBar* ProgressBar2;
    QPushButton* Button1; // "Cancel process"
    QFrame* Panel1;
    QFrame* Bevel1;
    QFrame* Bevel2;
    QFrame* Bevel3;
    QFrame* Bevel4;
    QFrame* Bevel5;
    QFrame* Bevel6;
    QFrame* Bevel7;
    QLabel* Status_Label;
    QLabel* Label9;   // "Elapsed:"
    QLabel* Label10;  // "Remaining:"
    QLabel* Label13;  // "Estimated:"
    QLabel* Label15;  // "Throughout:"
    QLabel* Label17;  // "Done:"
    QLabel* Label19;  // "Size:"
    QLabel* Label11;  // elapsed
    QLabel* Label12;  // remaining
    QLabel* Label14;  // estimated
    QLabel* Label16;  // throughput
    QLabel* Label18;  // done
    QLabel* Label20;  // size
    TTimer* Timer1;   // the timing figures, every second of a run
    TTimer* PwdTimer; // the age of the remembered password

    // Lifecycle.
    void FormActivate();
    void FormCloseQuery(bool& CanClose);
    void FormResize();
    // What the first activation runs once the layout is done: the actions of
    // a program started with parameters.
    void SetCommandLineStep(std::function<void()> step) { commandLineStep_ = std::move(step); }

    // Menu items and buttons.
    void Exit1Click();
    void Options2Click();
    void About1Click();
    void Contents1Click();
    void Explore1Click();
    void EncriptAll1Click();
    void Decriptall1Click();
    void Button1Click();

    // Navigation.
    void DriveComboBox1Click(int index);
    void DirectoryListBox1Change();
    void DirectoryListBox1Enter();
    // A right-click at `at` on the folder list's items: the folder under the
    // pointer is highlighted, and the menu's commands act on it.
    void DirectoryListBox1ContextPopup(QPoint at);
    // Changes the shown and the working directory. A user's change is refused
    // while a file command runs, since the command names its files relative
    // to the working directory; the tree commands walk by program.
    bool ChangeDirectory(const std::string& directory, bool byUser);
    // Opens the folder highlighted in the folder list; false when it could
    // not be opened, and the list then shows the folder still open.
    bool OpenHighlightedFolder();
    std::string CurrentDirectory() const;

    // File lists.
    // Reads the working directory again and rebuilds both grids and the
    // name lists behind them.
    void RefreshLists();
    // While a walk or a selection run hands one small file after another to
    // the commands, the rebuild after each file waits for the window's next
    // turn to run its events, so it runs once per painted frame and not once
    // per file. The grids show the same whenever they are painted. The
    // progress panel stays up until the run ends.
    bool CoalesceRefresh = false;
    void RefreshListsSoon();
    // Does at once what was put off while CoalesceRefresh held.
    void FinishPutOffWork();
    // Grows by one with every rebuild of the grids.
    unsigned ListsBuilt = 0;
    void StringGrid1Enter();
    void StringGrid2Enter();
    // The lists follow the folder: a change made by another program starts
    // this timer, and its one tick rebuilds the lists for every change since.
    QTimer* DiskTimer;
    void DiskTimerTimer();
    // F5, and the timer's tick: the lists read again, each grid's selection
    // kept on the same files.
    void ReadListsAgain();
    // Makes the folder the lists show the working directory again when its
    // path has come to lead to another folder, as long as no command runs.
    void WorkInTheListedFolder();
    // Enter on a grid's row: what a double-click on it does.
    void KeyOpens(TStringGrid& grid);

    // Progress panel.
    void ProgressStart();
    void ProgressStop();
    void ProgressClear();
    void Timer1Timer();

    // Files and passwords.
    // The single-file commands, through which every encryption and
    // decryption of the program passes.
    bool EncryptOneFile(const std::string& name);
    bool DecryptOneFile(const std::string& name);
    void StringGrid1DblClick();
    void StringGrid2DblClick();
    void PwdTimerTimer();
    void RunPreferences();

    // Through the desktop's applications (MainWindowShell.cpp).
    void Open1Click();
    void Print1Click();
    void Open2Click();
    void Print2Click();
    void RunCommandLine(const std::vector<std::string>& parameters);
    void OfferToEncryptLeftFiles();
    // The selection: its context-menu items, drops between the grids and
    // the Name column kept narrower than its grid (MainWindowSelection.cpp).
    void Encrypt1Click();
    void Decrypt1Click();
    void ConvertToAge1Click();
    void Delete1Click();
    void Delete2Click();
    void StringGrid1DragDrop();
    void StringGrid2DragDrop();
    void ClampNameColumn(TStringGrid& grid);
    TGridDrag& GridDrag() { return *gridDrag_; }

    // Layout.
    void LayoutWindow();
    void ArrangeControls();
    // 533 by 492, or what the screen holds of it.
    QSize StartingOuterSize() const;
    // The frame's outer size as the platform reports it, and the height of
    // the area under the menu.
    int OuterWidth() const;
    int OuterHeight() const;
    int ClientHeight() const;
    // The least outer size the window takes, and what the frame adds to the
    // client area (nothing until the window manager has told).
    QSize MinimumOuterSize() const;
    QSize FrameSize() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(std::unique_ptr<Registry> registry);
    void FormDestroy();
    void CreateMenus();
    void CreateControls();
    void CreateNavigation(QWidget* client);
    void CreateFileGrids(QWidget* client);
    void CreateProgressPanel(QWidget* client);
    void FitProgressColumns();
    void CreateTimers();
    void ConnectShellCommands();
    // The path label, the plain-file list and the drive selector follow the
    // directory list to its new directory.
    void FollowDirectory();
    void ConnectHelp();
    QLabel* AddFigure(QFrame* bevel, QLabel*& caption, const QString& captionText);
    void MoveSelectionMode(TStringGrid& to, TStringGrid& from);
    // Listens for changes of the folder the lists show.
    void WatchDisk();
    // Runs a command over several files. Its rebuilds leave each grid's
    // selection on rows by position; afterwards it holds only the files the
    // user had selected that are still listed, or nothing.
    void RunOnChosenFiles(const std::function<void()>& run);
    // Sized so that the outer size, the frame included, is the starting size,
    // and centred on the screen.
    void ShowAtStartingSize();
    void ConnectSelectionCommands();
    std::vector<std::string> FilesTakenBy(const TStringGrid& target,
                                          const std::vector<std::string>& paths) const;
    void RunDroppedFiles(const std::vector<std::string>& files);

    DriveList& drives_;
    std::unique_ptr<Registry> registry_;
    std::function<void()> commandLineStep_;
    bool commandLineDone_ = false;
    bool frameKnown_ = false; // the window manager has told the frame's size
    bool refreshQueued_ = false;
    QSocketNotifier* diskNotifier_ = nullptr;
    std::map<std::string, std::string> lastDirectoryOn_; // by mount point
    std::unique_ptr<TMainWinCommands> commands_;
    std::unique_ptr<TMainWinTree> tree_;
    // Gone before the grids it hooks into.
    std::unique_ptr<TGridDrag> gridDrag_;
};

// The one main window of the run.
extern TMainWin* MainWin;

} // namespace kelvane
