// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window does: its lifecycle, navigation, the file lists, the
// progress panel and the single-file commands. The controls are built in
// MainWindowControls.cpp and placed by MainWindowLayout.cpp.
#include "ui/MainWindow.h"

#include "commands/FileCommands.h"
#include "commands/FileLists.h"
#include "commands/PasswordPolicy.h"
#include "commands/Settings.h"
#include "commands/ShortPath.h"
#include "commands/State.h"
#include "crypto/CryptNames.h"
#include "crypto/Translate.h"
#include "engine/CryptFile.h"
#include "platform/FileAttributes.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"
#include "ui/AboutDialog.h"
#include "ui/ComboChangeDialog.h"
#include "ui/Controls.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/GridDrag.h"
#include "ui/MainWindowCommandHost.h"
#include "ui/MainWindowTreeHost.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

TMainWin* MainWin = nullptr;

namespace {

// Seconds as hh:mm:ss; 100 hours and more take more digits.
QString TimeText(int64_t seconds) {
    seconds = std::max<int64_t>(seconds, 0);
    const int64_t h = seconds / 3600;
    const int64_t m = (seconds - 3600 * h) / 60;
    const int64_t s = seconds - 3600 * h - 60 * m;
    char text[48];
    static_cast<void>(std::snprintf(text, sizeof text, "%2.2lld:%2.2lld:%2.2lld",
                                    static_cast<long long>(h), static_cast<long long>(m),
                                    static_cast<long long>(s)));
    return QString::fromLatin1(text);
}

} // namespace

TMainWin::~TMainWin() {
    FormDestroy();
    if (MainWin == this)
        MainWin = nullptr;
}

void TMainWin::FormCreate(std::unique_ptr<Registry> registry) {
    if (registry) {
        LoadSettings(*registry);
        registry_ = std::move(registry);
    } else {
        registry_ = LoadSettings();
    }

    // Rows as tall as the grid font needs; the heading row 2 pixels taller.
    const QFontMetrics metrics(StringGrid1->font());
    const int pixels = StringGrid1->font().pixelSize();
    if (metrics.height() > 0) {
        // The cell height of the font plus the leading inside it, as the
        // platform's text metrics report a row of text.
        const int internalLeading = pixels > 0 ? std::max(0, metrics.height() - pixels) : 0;
        const int rowHeight = metrics.height() + internalLeading + 2;
        StringGrid1->SetDefaultRowHeight(rowHeight);
        StringGrid2->SetDefaultRowHeight(rowHeight);
    }
    for (TStringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->horizontalHeader()->setFixedHeight(grid->DefaultRowHeight() + 2);
        GridRows empty;
        empty.AddPlaceholder({});
        grid->SetRows(std::move(empty));
    }
    StringGrid1->SetRowSelect(true);
    StringGrid1->SetCurrentCell(0, 1);
    StringGrid2->SetCurrentCell(4, 1);

    // Start where the program was started.
    std::string start = CurrentDirectory();
    if (!DirectoryListBox1->SetDirectory(start.empty() ? "/" : start))
        DirectoryListBox1->SetDirectory("/");
}

void TMainWin::FormDestroy() {
    if (registry_) {
        SaveSettings(*registry_);
        registry_.reset();
    }
}

// ---- lifecycle

void TMainWin::FormActivate() {
    LayoutWindow();
    // Qt activates the window again after every dialog it shows; the
    // command-line step belongs to the first activation only.
    if (commandLineDone_)
        return;
    commandLineDone_ = true;
    if (commandLineStep_)
        commandLineStep_();
}

void TMainWin::FormCloseQuery(bool& CanClose) {
    if (Busy()) {
        CanClose = false;
        return;
    }
    if (OpenCount > 0) {
        const int answer = ShowInformation(
            //: The English text keeps its slips; write the translation correctly.
            Tr("MainWindow",
               "Check out all your crypted files that was open now are closed. Close all "
               "applications, associated with them.Ensure that all files in the disk that should "
               "be protected,have been encrypted. Click cancel if you're not sure of it."),
            mbOK | mbCancel);
        if (answer == mrOk)
            CancelRequested = true;
        CanClose = false;
        return;
    }
    CanClose = true;
}

void TMainWin::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void TMainWin::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Without a window manager the window may never be activated; the first
    // showing then stands in for the first activation.
    if (!commandLineDone_)
        QTimer::singleShot(0, this, [this] {
            if (!commandLineDone_ && isVisible())
                FormActivate();
        });
}

void TMainWin::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainWin::FormResize() {
    LayoutWindow();
}

void TMainWin::Exit1Click() {
    close();
}

void TMainWin::Options2Click() {
    RunPreferences();
}

void TMainWin::RunPreferences() {
    if (Preferences != nullptr)
        kelvane::RunPreferences(*Preferences, [this] { RefreshLists(); });
    else
        RefreshLists();
}

// ---- navigation

std::string TMainWin::CurrentDirectory() const {
    return kelvane::CurrentDirectory();
}

bool TMainWin::ChangeDirectory(const std::string& directory, bool byUser) {
    if (byUser && Busy()) {
        Status_Label->setText(QString::fromStdString(Tr("Status", kWaitTillFinished)));
        DriveComboBox1->ShowDirectory(DirectoryListBox1->Directory());
        return false;
    }
    return DirectoryListBox1->SetDirectory(directory);
}

void TMainWin::Explore1Click() {
    OpenHighlightedFolder();
}

bool TMainWin::OpenHighlightedFolder() {
    const std::string path = DirectoryListBox1->HighlightedPath();
    if (path.empty() || path == DirectoryListBox1->Directory())
        return true;
    if (ChangeDirectory(path, true))
        return true;
    DirectoryListBox1->Update(); // back to the folder still shown
    return false;
}

// A right-click only highlights the folder under the pointer: the menu's
// choice decides whether it is opened, and Escape leaves everything as it was.
void TMainWin::DirectoryListBox1ContextPopup(QPoint at) {
    if (QListWidgetItem* item = DirectoryListBox1->itemAt(at))
        DirectoryListBox1->setCurrentItem(item);
    PopupMenu1->popup(DirectoryListBox1->viewport()->mapToGlobal(at));
}

void TMainWin::DriveComboBox1Click(int index) {
    const std::string current = DirectoryListBox1->Directory();
    auto showCurrent = [this, &current] { DriveComboBox1->ShowDirectory(current); };
    if (Busy()) {
        Status_Label->setText(QString::fromStdString(Tr("Status", kWaitTillFinished)));
        showCurrent();
        return;
    }
    if (!DriveComboBox1->ReadyAt(index)) {
        if (ComboChange == nullptr) {
            showCurrent();
            return;
        }
        ComboChange->MainSelector = DriveComboBox1;
        if (ComboChange->ShowModal() != mrOk) {
            // Closed without a ready drive: stay where we are.
            showCurrent();
            return;
        }
        index = DriveComboBox1->currentIndex();
    }
    const std::vector<Volume>& volumes = DriveComboBox1->Volumes();
    if (index < 0 || index >= static_cast<int>(volumes.size()) ||
        index == VolumeIndexFor(volumes, current)) {
        showCurrent();
        return;
    }
    // A drive opens where the user last was on it, as each drive keeps its
    // own current directory.
    const std::string mountPoint = volumes[static_cast<std::size_t>(index)].mountPoint;
    const auto last = lastDirectoryOn_.find(mountPoint);
    if ((last == lastDirectoryOn_.end() || !ChangeDirectory(last->second, false)) &&
        !ChangeDirectory(mountPoint, false))
        showCurrent();
}

void TMainWin::FollowDirectory() {
    const std::string& directory = DirectoryListBox1->Directory();
    const QFontMetrics metrics(DirLabel->font());
    DirLabel->setText(QFile::decodeName(QByteArray::fromStdString(
        MinimizePath(directory, DirectoryListBox1->width(), [&metrics](const std::string& text) {
            return metrics.horizontalAdvance(QFile::decodeName(QByteArray::fromStdString(text)));
        }))));
    // The folder list has read the new folder through FileListBox1 already.
    if (FileListBox1.Directory() != directory)
        FileListBox1.ReadDirectory(directory);
    DriveComboBox1->ShowDirectory(directory);
    const int volume = VolumeIndexFor(DriveComboBox1->Volumes(), directory);
    if (volume >= 0)
        lastDirectoryOn_[DriveComboBox1->Volumes()[static_cast<std::size_t>(volume)].mountPoint] =
            directory;
    DirectoryListBox1Change();
}

void TMainWin::DirectoryListBox1Change() {
    RefreshLists();
}

void TMainWin::DirectoryListBox1Enter() {
    RefreshLists();
}

// ---- file lists

void TMainWin::RefreshLists() {
    refreshQueued_ = false;
    ++ListsBuilt;
    FileListBox1.Clear();
    FileListBox2.Clear();
    FileListBox1.Read();

    // One pass over the names read, in their order: the plain files go to
    // the first grid and FileListBox1, the crypted ones to the second grid
    // and, under their shown names, to FileListBox2. Each list is made as
    // large as it will be at once: a folder of many files would otherwise
    // hold its lists twice over while they grow.
    const std::vector<std::string>& names = FileListBox1.Names();
    const bool showCry = ShowCry > 0;
    std::size_t cryptedCount = 0;
    std::size_t cryptedBytes = 0;
    std::size_t bytes = 0;
    for (const std::string& name : names) {
        bytes += name.size();
        if (HasCryExtension(name)) {
            ++cryptedCount;
            cryptedBytes += name.size();
        }
    }
    GridRows plainRows;
    GridRows cryptedRows;
    plainRows.Reserve(names.size() - cryptedCount, bytes - cryptedBytes);
    cryptedRows.Reserve(cryptedCount, cryptedBytes);
    FileListBox1.Items.reserve(names.size() - cryptedCount);
    FileListBox2.Items.reserve(cryptedCount);
    SplitByExtension(
        names, showCry,
        [&](const std::string& name) {
            plainRows.Add(name);
            FileListBox1.Items.push_back(name);
        },
        [&](const std::string& name, std::string shown) {
            cryptedRows.Add(name, shown.size());
            FileListBox2.Items.push_back(std::move(shown));
        });
    // Without ".cry" the shown names may sort differently from the files.
    SortNames(FileListBox2.Items);

    // An empty grid shows one placeholder row; the files are counted, not
    // looked for by text, so a file named like the placeholder is listed too.
    for (GridRows* rows : {&plainRows, &cryptedRows}) {
        if (rows->Empty())
            rows->AddPlaceholder(Tr("FileGridModel", TFileGridModel::kNoFiles));
    }
    StringGrid1->SetRows(std::move(plainRows), FileListBox1.Folder());
    StringGrid2->SetRows(std::move(cryptedRows), FileListBox1.Folder());
    for (TStringGrid* grid : {StringGrid1, StringGrid2}) {
        if (!grid->hasFocus())
            grid->SetLeftCol(0);
    }
    WatchDisk();
}

void TMainWin::WatchDisk() {
    // This rebuild has taken every change so far.
    DiskTimer->stop();
    const int descriptor = FileListBox1.WatchDescriptor();
    if (diskNotifier_ != nullptr && diskNotifier_->socket() != descriptor) {
        delete diskNotifier_;
        diskNotifier_ = nullptr;
    }
    if (descriptor < 0)
        return;
    if (diskNotifier_ == nullptr) {
        diskNotifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
        connect(diskNotifier_, &QSocketNotifier::activated, this, [this] {
            // Quiet until the rebuild has read what waits, which also gathers
            // whatever else changes before the timer ticks.
            diskNotifier_->setEnabled(false);
            DiskTimer->start();
        });
    }
    diskNotifier_->setEnabled(true);
}

void TMainWin::DiskTimerTimer() {
    ReadListsAgain();
}

void TMainWin::ReadListsAgain() {
    // A running command rebuilds the lists as it ends; until then the
    // grids keep the rows it works from.
    if (Busy()) {
        DiskTimer->start();
        return;
    }
    const TStringGrid::SelectionAnchors plain = StringGrid1->SelectionFiles();
    const TStringGrid::SelectionAnchors crypted = StringGrid2->SelectionFiles();
    RefreshLists();
    WorkInTheListedFolder();
    StringGrid1->SelectFiles(plain);
    StringGrid2->SelectFiles(crypted);
}

void TMainWin::WorkInTheListedFolder() {
    // Another program may have moved the folder shown away and put a new one
    // in its place: the lists, read by the folder's path, show the new one,
    // and the commands, which name files relative to the working directory,
    // must act there too, never on files nobody sees. Not while a command or
    // a dialog of one waits: it works in the folder it looked at.
    const std::shared_ptr<const OpenFolder>& listed = FileListBox1.Folder();
    if (!listed || Busy() || CoalesceRefresh || QApplication::activeModalWidget() != nullptr)
        return;
    struct stat working {};
    if (::stat(".", &working) == 0 && NodeOf(working) == listed->Identity())
        return;
    if (::fchdir(listed->Descriptor()) == 0)
        DirectoryListBox1->Update();
}

void TMainWin::MoveSelectionMode(TStringGrid& to, TStringGrid& from) {
    from.SetRowSelect(false);
    // Parking keeps the grid's scroll place.
    from.SetCurrentCell(4, from.Row());
    to.SetRowSelect(true);
}

void TMainWin::RunOnChosenFiles(const std::function<void()>& run) {
    // Refused anyway; the running command's grids are left alone.
    if (Busy()) {
        run();
        return;
    }
    const std::string directory = DirectoryListBox1->Directory();
    const std::set<std::string> chosen1 = StringGrid1->SelectedFiles();
    const std::set<std::string> chosen2 = StringGrid2->SelectedFiles();
    run();
    // A walk may end in another folder, whose files nobody chose.
    const bool sameFolder = DirectoryListBox1->Directory() == directory;
    StringGrid1->KeepSelectedFiles(sameFolder ? chosen1 : std::set<std::string>{});
    StringGrid2->KeepSelectedFiles(sameFolder ? chosen2 : std::set<std::string>{});
}

void TMainWin::StringGrid1Enter() {
    MoveSelectionMode(*StringGrid1, *StringGrid2);
}

void TMainWin::StringGrid2Enter() {
    MoveSelectionMode(*StringGrid2, *StringGrid1);
}

// ---- progress panel

void TMainWin::ProgressStart() {
    // The bars keep the counters of the previous run until the engine's
    // first report; cleared, the figures stay blank until then.
    ProgressBar1->SetTag(0);
    ProgressBar2->SetTag(0);
    ProgressClear();
    Timer1->Tag = 0;
    Timer1->start();
}

void TMainWin::ProgressStop() {
    Timer1->stop();
}

void TMainWin::ProgressClear() {
    // Between the files of a run the figures are mostly blank already, and
    // clearing a label lays it out anew all the same.
    for (QLabel* figure : {Label11, Label12, Label14, Label16, Label18, Label20})
        if (!figure->text().isEmpty())
            figure->clear();
}

void TMainWin::Timer1Timer() {
    const int64_t t = ++Timer1->Tag;
    Label11->setText(TimeText(t));
    const int64_t done = ProgressBar2->Tag();
    const int64_t total = ProgressBar1->Tag();
    if (done <= 0)
        return;
    const int64_t remaining = (total - done) * t / done;
    Label12->setText(TimeText(remaining));
    Label14->setText(TimeText(t + remaining));
    // The numbers keep their one format in every language: users compare them.
    Label16->setText(QCoreApplication::translate("MainWindow", "%1 bytes per second")
                         .arg(QString::number(done * 8 / t)));
    Label18->setText(
        QCoreApplication::translate("MainWindow", "%1 KBytes").arg(QString::number(done / 128)));
    Label20->setText(
        QCoreApplication::translate("MainWindow", "%1 Kbytes").arg(QString::number(total / 128)));
}

void TMainWin::Button1Click() {
    if (EncryptBusy || DecryptBusy) {
        int answer = mrCancel;
        {
            // The run holds still while the user decides, and goes on from
            // the same byte if the answer is Cancel.
            PauseGate::Hold hold(DefaultCryptHooks().pause);
            answer = ShowConfirmation(Tr("MainWindow", "Do you really want to cancel process?"),
                                      mbOK | mbCancel);
        }
        if (answer != mrOk)
            return;
        Status_Label->setText(QCoreApplication::translate(
            "MainWindow", "Wait while finishing process the last file..."));
    }
    CancelRequested = true;
}

// ---- files and passwords

bool TMainWin::EncryptOneFile(const std::string& name) {
    return kelvane::EncryptOneFile(*commands_, name);
}

bool TMainWin::DecryptOneFile(const std::string& name) {
    return kelvane::DecryptOneFile(*commands_, name);
}

void TMainWin::StringGrid1DblClick() {
    // "[no files]" goes to the command like any row, which finds no such file
    // and says so (or that another run is busy).
    if (FileListBox1.Count() == 0) {
        RunDoubleClick(*commands_, Direction::Encrypt, StringGrid1->Cells(0, 1));
        return;
    }
    const int row = StringGrid1->Selection().Top;
    RunDoubleClick(*commands_, Direction::Encrypt, StringGrid1->Cells(0, row),
                   StringGrid1->FileName(row));
}

void TMainWin::StringGrid2DblClick() {
    if (FileListBox2.Count() == 0) {
        RunDoubleClick(*commands_, Direction::Decrypt, StringGrid2->Cells(0, 1));
        return;
    }
    const int row = StringGrid2->Selection().Top;
    RunDoubleClick(*commands_, Direction::Decrypt, StringGrid2->Cells(0, row),
                   StringGrid2->FileName(row));
}

void TMainWin::KeyOpens(TStringGrid& grid) {
    if (&grid == StringGrid1)
        StringGrid1DblClick();
    else
        StringGrid2DblClick();
    // No double-click took place: the next press may arm a drag.
    DoubleClicked = false;
}

void TMainWin::PwdTimerTimer() {
    CountPasswordSecond();
}

} // namespace kelvane
