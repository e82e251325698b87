#include "ui/MainWindow.h"

#include "commands/FileCommands.h"
#include "commands/PasswordPolicy.h"
#include "commands/Settings.h"
#include "commands/ShortPath.h"
#include "commands/State.h"
#include "crypto/CryptNames.h"
#include "platform/FileAttributes.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"
#include "ui/AboutDialog.h"
#include "ui/ComboChangeDialog.h"
#include "ui/Controls.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/MainWinCommands.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace kelvane {

TMainWin* MainWin = nullptr;

namespace {

constexpr const char* kWaitText = "Wait till process is finished.";
constexpr int kGridTop = 24;
constexpr int kGridLeft = 200;
constexpr int kRunningShift = 13; // the grids give up this much for a progress bar
constexpr int kMinimumHeight = 420;

const QColor kSilver(0xC0, 0xC0, 0xC0);

// Seconds as hh:mm:ss; 100 hours and more take more digits.
QString TimeText(int64_t seconds) {
    seconds = std::max<int64_t>(seconds, 0);
    const int64_t h = seconds / 3600;
    const int64_t m = (seconds - 3600 * h) / 60;
    const int64_t s = seconds - 3600 * h - 60 * m;
    char text[48];
    std::snprintf(text, sizeof text, "%2.2lld:%2.2lld:%2.2lld", static_cast<long long>(h),
                  static_cast<long long>(m), static_cast<long long>(s));
    return QString::fromLatin1(text);
}

void SetSilver(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, kSilver);
    palette.setColor(QPalette::Window, kSilver);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The two list icons: a sheet of paper, and the same sheet under a padlock.
QPixmap SheetIcon(int width, int height, bool locked) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    const int fold = 5;
    const QPoint sheet[] = {{2, 2},
                            {width - 3 - fold, 2},
                            {width - 3, 2 + fold},
                            {width - 3, height - 3},
                            {2, height - 3}};
    painter.drawPolygon(sheet, 5);
    painter.drawLine(width - 3 - fold, 2, width - 3 - fold, 2 + fold);
    painter.drawLine(width - 3 - fold, 2 + fold, width - 3, 2 + fold);
    painter.setPen(Qt::gray);
    for (int y = 9; y < height - 5; y += 3)
        painter.drawLine(5, y, width - 6, y);
    if (locked) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRect(7, height - 14, 8, 8), 0, 180 * 16);
        painter.setBrush(QColor(0xC0, 0x90, 0x00));
        painter.drawRect(QRect(6, height - 10, 10, 7));
    }
    return pixmap;
}

QFont PixelFont(const QFont& base, int pixels) {
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
}

// The grids' font: Courier New, or the font the system puts in its place
// (Liberation Mono, of the same metrics), or else the system's fixed font.
QFont GridFont() {
    QFont font("Courier New");
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // 16 pixels from the top of the tallest letter to the bottom of the
    // deepest, as the column widths were made for.
    for (int pixels = 16; pixels > 8; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= 16)
            break;
    }
    return font;
}

} // namespace

TMainWin::TMainWin(DriveList& drives, std::unique_ptr<Registry> registry)
    : drives_(drives), commands_(std::make_unique<TMainWinCommands>(*this)) {
    setWindowTitle("Kelvane 95");
    setFont(PixelFont(font(), 11));
    CreateMenus();
    CreateControls();
    FormCreate(std::move(registry));

    resize(533, 492);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainWin::~TMainWin() {
    FormDestroy();
    if (MainWin == this)
        MainWin = nullptr;
}

void TMainWin::CreateMenus() {
    MainMenu1 = menuBar();
    File1 = MainMenu1->addMenu("&File");
    Options2 = File1->addAction("&Options...");
    Exit1 = File1->addAction("E&xit");
    Help1 = MainMenu1->addMenu("&Help");
    Contents1 = Help1->addAction("&Contents");
    About1 = Help1->addAction("&About...");
    connect(Options2, &QAction::triggered, this, &TMainWin::Options2Click);
    connect(Exit1, &QAction::triggered, this, &TMainWin::Exit1Click);
    connect(About1, &QAction::triggered, this, &TMainWin::About1Click);

    PopupMenu1 = new QMenu(this);
    Explore1 = PopupMenu1->addAction("Explore");
    EncriptAll1 = PopupMenu1->addAction("Encrypt All");
    Decriptall1 = PopupMenu1->addAction("Decrypt All");
    connect(Explore1, &QAction::triggered, this, &TMainWin::Explore1Click);

    PopupMenu2 = new QMenu(this);
    Open1 = PopupMenu2->addAction("Open");
    Encrypt1 = PopupMenu2->addAction("Encrypt");
    Print1 = PopupMenu2->addAction("Print");
    Delete1 = PopupMenu2->addAction("Delete");

    PopupMenu3 = new QMenu(this);
    Open2 = PopupMenu3->addAction("Open");
    Decrypt1 = PopupMenu3->addAction("Decrypt");
    Print2 = PopupMenu3->addAction("Print");
    Delete2 = PopupMenu3->addAction("Delete");
}

QLabel* TMainWin::AddFigure(QFrame* bevel, QLabel*& caption, const char* captionText) {
    caption = new QLabel(captionText, bevel);
    caption->setEnabled(false); // the captions are always drawn greyed
    caption->adjustSize();
    caption->move(4, 1);
    auto* figure = new QLabel(bevel);
    figure->setGeometry(caption->x() + caption->width() + 4, 1, 400, 14);
    return figure;
}

void TMainWin::CreateControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    // The first control of the tab order: it has the focus when the window
    // first shows. Coming back to it re-reads the folder.
    DirectoryListBox1 = new TDirectoryListBox(client);
    DirectoryListBox1->setGeometry(4, 28, 185, 351);
    DirectoryListBox1->setFont(PixelFont(font(), 12));
    SetSilver(DirectoryListBox1);
    {
        QPalette palette = DirectoryListBox1->palette();
        palette.setColor(QPalette::Text, Qt::blue);
        DirectoryListBox1->setPalette(palette);
    }
    DirectoryListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DirectoryListBox1, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        PopupMenu1->popup(DirectoryListBox1->viewport()->mapToGlobal(at));
    });
    // Queued: opening a folder rebuilds the list, which must not happen
    // inside the list's own mouse or key handling.
    connect(DirectoryListBox1, &TDirectoryListBox::OpenRequested, this, &TMainWin::Explore1Click,
            Qt::QueuedConnection);
    connect(DirectoryListBox1, &TDirectoryListBox::Entered, this,
            &TMainWin::DirectoryListBox1Enter);
    connect(DirectoryListBox1, &TDirectoryListBox::Changed, this, [this] {
        const std::string& directory = DirectoryListBox1->Directory();
        const QFontMetrics metrics(DirLabel->font());
        DirLabel->setText(QFile::decodeName(QByteArray::fromStdString(MinimizePath(
            directory, DirectoryListBox1->width(), [&metrics](const std::string& text) {
                return metrics.horizontalAdvance(
                    QFile::decodeName(QByteArray::fromStdString(text)));
            }))));
        FileListBox1.SetDirectory(directory);
        DriveComboBox1->ShowDirectory(directory);
        const int volume = VolumeIndexFor(DriveComboBox1->Volumes(), directory);
        if (volume >= 0)
            lastDirectoryOn_[DriveComboBox1->Volumes()[static_cast<std::size_t>(volume)]
                                 .mountPoint] = directory;
        DirectoryListBox1Change();
    });

    DriveComboBox1 = new TDriveComboBox(drives_, client);
    DriveComboBox1->setGeometry(4, 4, 181, 19);
    DriveComboBox1->setFont(PixelFont(font(), 11));
    SetSilver(DriveComboBox1);
    {
        QPalette palette = DriveComboBox1->palette();
        palette.setColor(QPalette::Text, QColor(0x80, 0x00, 0x00));
        palette.setColor(QPalette::ButtonText, QColor(0x80, 0x00, 0x00));
        DriveComboBox1->setPalette(palette);
    }
    connect(DriveComboBox1, &TDriveComboBox::Picked, this, &TMainWin::DriveComboBox1Click);

    DirLabel = new QLabel(client);
    DirLabel->hide();

    Image1 = new QLabel(client);
    Image1->setGeometry(200, 0, 19, 24);
    Image1->setPixmap(SheetIcon(19, 24, false));
    Label8 = new QLabel("Available for encryption", client);
    Label8->adjustSize();
    Label8->setGeometry(224, 4, Label8->width(), 13);
    Image2 = new QLabel(client);
    Image2->setGeometry(200, 195, 19, 23);
    Image2->setPixmap(SheetIcon(19, 23, true));
    Label21 = new QLabel("Crypted files", client);
    Label21->adjustSize();
    Label21->setGeometry(224, 199, Label21->width(), 13);

    const QFont gridFont = GridFont();
    const int widths1[] = {147, 91, 64, 64, 64};
    const int widths2[] = {146, 102, 64, 64, 64};
    StringGrid1 = new TStringGrid(client);
    StringGrid2 = new TStringGrid(client);
    for (TStringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->setFont(gridFont);
        grid->horizontalHeader()->setFont(gridFont);
        SetSilver(grid);
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        const int* widths = grid == StringGrid1 ? widths1 : widths2;
        for (int column = 0; column < TFileGridModel::kColumns; ++column)
            grid->setColumnWidth(column, widths[column]);
    }
    StringGrid1->setGeometry(kGridLeft, kGridTop, 323, 159);
    StringGrid2->setGeometry(kGridLeft, 219, 323, 159);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { PopupMenu2->popup(StringGrid1->viewport()->mapToGlobal(at)); });
    connect(StringGrid2, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { PopupMenu3->popup(StringGrid2->viewport()->mapToGlobal(at)); });
    connect(StringGrid1, &QAbstractItemView::doubleClicked, this, &TMainWin::StringGrid1DblClick);
    connect(StringGrid2, &QAbstractItemView::doubleClicked, this, &TMainWin::StringGrid2DblClick);
    connect(StringGrid1, &TStringGrid::Entered, this, &TMainWin::StringGrid1Enter);
    connect(StringGrid2, &TStringGrid::Entered, this, &TMainWin::StringGrid2Enter);

    ProgressBar1 = new TProgressBar(client);
    ProgressBar1->setGeometry(kGridLeft, 173, 323, 9);
    ProgressBar1->hide();
    ProgressBar2 = new TProgressBar(client);
    ProgressBar2->setGeometry(kGridLeft, 368, 323, 9);
    ProgressBar2->hide();

    Button1 = new QPushButton("Cancel process", client);
    Button1->setGeometry(414, 195, 109, 17);
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, &TMainWin::Button1Click);

    Panel1 = new QFrame(client);
    Panel1->setGeometry(4, 387, 523, 49);
    auto bevel = [this](int left, int top, int width, int height) {
        auto* frame = new QFrame(Panel1);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setGeometry(left, top, width, height);
        return frame;
    };
    Bevel1 = bevel(0, 16, 104, 16);
    Bevel2 = bevel(0, 32, 104, 16);
    Bevel3 = bevel(104, 32, 132, 16);
    Bevel4 = bevel(104, 16, 132, 16);
    Bevel5 = bevel(236, 16, 283, 16);
    Bevel6 = bevel(236, 32, 283, 16);
    Bevel7 = bevel(0, 0, 519, 15);
    Status_Label = new QLabel("Idle", Bevel7);
    Status_Label->setGeometry(4, 0, 2000, 15);
    Label11 = AddFigure(Bevel1, Label9, "Elapsed:");
    Label14 = AddFigure(Bevel2, Label13, "Estimated:");
    Label12 = AddFigure(Bevel4, Label10, "Remaining:");
    Label18 = AddFigure(Bevel3, Label17, "Done:");
    Label16 = AddFigure(Bevel5, Label15, "Throughout:");
    Label20 = AddFigure(Bevel6, Label19, "Size:");

    Timer1 = new TTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TMainWin::Timer1Timer);
    PwdTimer = new TTimer(this);
    PwdTimer->setInterval(1000);
    connect(PwdTimer, &QTimer::timeout, this, &TMainWin::PwdTimerTimer);

    setTabOrder(DirectoryListBox1, DriveComboBox1);
    setTabOrder(DriveComboBox1, StringGrid1);
    setTabOrder(StringGrid1, StringGrid2);
    setTabOrder(StringGrid2, Button1);
    DirectoryListBox1->setFocus();
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
        // design's text metrics gave it.
        const int internalLeading = pixels > 0 ? std::max(0, metrics.height() - pixels) : 0;
        const int rowHeight = metrics.height() + internalLeading + 2;
        StringGrid1->SetDefaultRowHeight(rowHeight);
        StringGrid2->SetDefaultRowHeight(rowHeight);
    }
    for (TStringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->horizontalHeader()->setFixedHeight(grid->DefaultRowHeight() + 2);
        grid->SetRows({GridRow{}});
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
            "Check out all your crypted files that was open now are closed. Close all "
            "applications, associated with them.Ensure that all files in the disk that should be "
            "protected,have been encrypted. Click cancel if you're not sure of it.",
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

void TMainWin::About1Click() {
    if (About != nullptr)
        About->ShowModal();
}

// ---- navigation

std::string TMainWin::CurrentDirectory() const {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

bool TMainWin::ChangeDirectory(const std::string& directory, bool byUser) {
    if (byUser && Busy()) {
        Status_Label->setText(kWaitText);
        DriveComboBox1->ShowDirectory(DirectoryListBox1->Directory());
        return false;
    }
    return DirectoryListBox1->SetDirectory(directory);
}

void TMainWin::Explore1Click() {
    const std::string path = DirectoryListBox1->HighlightedPath();
    if (path.empty() || path == DirectoryListBox1->Directory())
        return;
    if (!ChangeDirectory(path, true))
        DirectoryListBox1->Update(); // back to the folder still shown
}

void TMainWin::DriveComboBox1Click(int index) {
    const std::string current = DirectoryListBox1->Directory();
    auto showCurrent = [this, &current] { DriveComboBox1->ShowDirectory(current); };
    if (Busy()) {
        Status_Label->setText(kWaitText);
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

void TMainWin::DirectoryListBox1Change() {
    RefreshLists();
}

void TMainWin::DirectoryListBox1Enter() {
    RefreshLists();
}

// ---- file lists

void TMainWin::RefreshLists() {
    FileListBox1.Update();
    FileListBox2.Clear();

    const bool showCry = ShowCry > 0;
    std::vector<GridRow> plainRows;
    std::vector<GridRow> cryptedRows;
    std::vector<std::string> plainNames;
    for (std::string& name : FileListBox1.Items) {
        GridRow row;
        if (HasCryExtension(name)) {
            row.Name = showCry ? name : DecryptedNameOf(name).value_or(std::string());
            // The file as it is on disk, whatever the case of its extension.
            row.FileName = std::move(name);
            FileListBox2.Items.push_back(row.Name);
            cryptedRows.push_back(std::move(row));
        } else {
            row.Name = name;
            row.FileName = name;
            plainRows.push_back(std::move(row));
            plainNames.push_back(std::move(name));
        }
    }
    FileListBox1.Items = std::move(plainNames);
    // Without ".cry" the shown names may sort differently from the files.
    SortNames(FileListBox2.Items);

    // An empty grid shows one placeholder row; the files are counted, not
    // looked for by text, so a file named like the placeholder is listed too.
    for (auto* rows : {&plainRows, &cryptedRows}) {
        if (rows->empty()) {
            GridRow placeholder;
            placeholder.Name = TFileGridModel::kNoFiles;
            rows->push_back(std::move(placeholder));
        }
    }
    StringGrid1->SetRows(std::move(plainRows));
    StringGrid2->SetRows(std::move(cryptedRows));
    for (TStringGrid* grid : {StringGrid1, StringGrid2}) {
        if (!grid->hasFocus())
            grid->SetLeftCol(0);
    }
}

void TMainWin::MoveSelectionMode(TStringGrid& to, TStringGrid& from) {
    from.SetRowSelect(false);
    const int left = from.LeftCol();
    from.SetCurrentCell(4, from.Row());
    from.SetLeftCol(left);
    to.SetRowSelect(true);
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
    for (QLabel* figure : {Label11, Label12, Label14, Label16, Label18, Label20})
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
    Label16->setText(QString::number(done * 8 / t) + " bytes per second");
    Label18->setText(QString::number(done / 128) + " KBytes");
    Label20->setText(QString::number(total / 128) + " Kbytes");
}

void TMainWin::Button1Click() {
    if (EncryptBusy || DecryptBusy) {
        if (ShowConfirmation("Do you really want to cancel process?", mbOK | mbCancel) != mrOk)
            return;
        Status_Label->setText("Wait while finishing process the last file...");
    }
    CancelRequested = true;
}

// ---- layout

int TMainWin::OuterWidth() const {
    return frameGeometry().width();
}

int TMainWin::OuterHeight() const {
    return frameGeometry().height();
}

int TMainWin::ClientHeight() const {
    return centralWidget()->height();
}

void TMainWin::LayoutWindow() {
    const int minimumWidth = 2 * DirectoryListBox1->width() + 50;
    const int growWidth = std::max(0, minimumWidth - OuterWidth());
    const int growHeight = std::max(0, kMinimumHeight - OuterHeight());
    if (growWidth > 0 || growHeight > 0)
        resize(width() + growWidth, height() + growHeight);
    ArrangeControls();
}

void TMainWin::ArrangeControls() {
    const int W = OuterWidth();
    const int CH = ClientHeight();
    const bool running = EncryptBusy || DecryptBusy;

    const int gridWidth = W - StringGrid1->x() - 10;
    StringGrid1->resize(gridWidth, StringGrid1->height());
    StringGrid1->setColumnWidth(3, gridWidth);
    ProgressBar1->resize(gridWidth, ProgressBar1->height());
    StringGrid2->resize(gridWidth, StringGrid2->height());
    StringGrid2->setColumnWidth(3, gridWidth);
    ProgressBar2->resize(StringGrid2->width(), ProgressBar2->height());

    const int panelHeight = Bevel1->height() + Bevel2->height() + Bevel7->height() + 2;
    Panel1->setGeometry(Panel1->x(), CH - panelHeight - 10, StringGrid2->x() + StringGrid2->width(),
                        panelHeight);
    for (QFrame* bevel : {Bevel5, Bevel6, Bevel7})
        bevel->resize(Panel1->width() - bevel->x() - 4, bevel->height());

    const int listHeight = Panel1->y() - DirectoryListBox1->y() - 8;
    DirectoryListBox1->resize(DirectoryListBox1->width(), listHeight);

    const int base = (listHeight - 32) / 2;
    const int height1 = running ? base - kRunningShift : base;
    const int height2 =
        running ? listHeight - 32 - height1 - 2 * kRunningShift : listHeight - 32 - height1 - 1;
    const int top2 = DirectoryListBox1->y() + height1 + (running ? 32 + kRunningShift : 32);
    StringGrid1->resize(StringGrid1->width(), height1);
    StringGrid2->setGeometry(StringGrid2->x(), top2, StringGrid2->width(), height2);

    const int barGap = running ? 3 : -10;
    ProgressBar1->move(ProgressBar1->x(), StringGrid1->y() + StringGrid1->height() + barGap);
    ProgressBar2->move(ProgressBar2->x(), StringGrid2->y() + StringGrid2->height() + barGap);

    Image2->move(Image2->x(), StringGrid2->y() - 24);
    Label21->move(Label21->x(), Image2->y() + 4);
    Button1->move(StringGrid1->x() + StringGrid1->width() - Button1->width(), Image2->y());
}

// ---- files and passwords

bool TMainWin::EncryptOneFile(const std::string& name) {
    return kelvane::EncryptOneFile(*commands_, name);
}

bool TMainWin::DecryptOneFile(const std::string& name) {
    return kelvane::DecryptOneFile(*commands_, name);
}

void TMainWin::StringGrid1DblClick() {
    // "[no files]" names no file.
    if (FileListBox1.Count() == 0) {
        DoubleClicked = true;
        return;
    }
    RunDoubleClick(*commands_, GridCommand::Encrypt,
                   StringGrid1->Cells(0, StringGrid1->Selection().Top));
}

void TMainWin::StringGrid2DblClick() {
    if (FileListBox2.Count() == 0) {
        DoubleClicked = true;
        return;
    }
    RunDoubleClick(*commands_, GridCommand::Decrypt,
                   StringGrid2->Cells(0, StringGrid2->Selection().Top));
}

void TMainWin::PwdTimerTimer() {
    CountPasswordSecond();
}

} // namespace kelvane
