// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls and menus, built once when the window is
// created; what they do lives in MainWindow.cpp.
#include "ui/AccessibleControls.h"
#include "ui/Controls.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/FocusRing.h"
#include "ui/Fonts.h"
#include "ui/GridDrag.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowCommandHost.h"
#include "ui/MainWindowTreeHost.h"
#include "ui/StringGrid.h"

#include <QCoreApplication>
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
#include <QShortcut>
#include <algorithm>

namespace kelvane {
namespace {

constexpr int kGridTop = 24;
constexpr int kGridLeft = 200;

const QColor kSilver(0xC0, 0xC0, 0xC0);

// Silver comes with dark text: a dark desktop palette would otherwise put
// its light text on the silver.
void SetSilver(QWidget* widget, const QColor& text = Qt::black) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, kSilver);
    palette.setColor(QPalette::Window, kSilver);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
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

// The width a bevel needs for its caption and, beside it, `figure`.
int RoomFor(const QLabel& caption, const QString& figure) {
    constexpr int kFrames = 2;
    return caption.x() + caption.width() + 3 +
           QFontMetrics(caption.font())
               .horizontalAdvance(WithWidestDigits(caption.font(), figure)) +
           kFrames;
}

} // namespace

TMainWin::TMainWin(DriveList& drives, std::unique_ptr<Registry> registry)
    : drives_(drives), commands_(std::make_unique<TMainWinCommands>(*this)),
      tree_(std::make_unique<TMainWinTree>(*this)) {
    setWindowTitle(QCoreApplication::translate("MainWindow", "Kelvane 95"));
    setFont(WindowFont());
    CreateMenus();
    CreateControls();
    ConnectHelp();
    ConnectShellCommands();
    ConnectSelectionCommands();
    FormCreate(std::move(registry));

    ShowAtStartingSize();
}

void TMainWin::CreateMenus() {
    MainMenu1 = menuBar();
    File1 = MainMenu1->addMenu(QCoreApplication::translate("MainWindow", "&File"));
    Options2 = File1->addAction(QCoreApplication::translate("MainWindow", "&Options..."));
    Exit1 = File1->addAction(QCoreApplication::translate("MainWindow", "E&xit"));
    Help1 = MainMenu1->addMenu(QCoreApplication::translate("MainWindow", "&Help"));
    Contents1 = Help1->addAction(QCoreApplication::translate("MainWindow", "&Contents"));
    About1 = Help1->addAction(QCoreApplication::translate("MainWindow", "&About..."));
    connect(Options2, &QAction::triggered, this, &TMainWin::Options2Click);
    connect(Exit1, &QAction::triggered, this, &TMainWin::Exit1Click);
    connect(About1, &QAction::triggered, this, &TMainWin::About1Click);
    auto* readAgain = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(readAgain, &QShortcut::activated, this, &TMainWin::ReadListsAgain);

    // The context menus' items keep their words; a mnemonic only underlines
    // a letter.
    PopupMenu1 = new QMenu(this);
    Explore1 = PopupMenu1->addAction(QCoreApplication::translate("MainWindow", "E&xplore"));
    EncriptAll1 = PopupMenu1->addAction(QCoreApplication::translate("MainWindow", "&Encrypt All"));
    Decriptall1 = PopupMenu1->addAction(QCoreApplication::translate("MainWindow", "&Decrypt All"));
    connect(Explore1, &QAction::triggered, this, &TMainWin::Explore1Click);
    connect(EncriptAll1, &QAction::triggered, this, &TMainWin::EncriptAll1Click);
    connect(Decriptall1, &QAction::triggered, this, &TMainWin::Decriptall1Click);

    PopupMenu2 = new QMenu(this);
    Open1 = PopupMenu2->addAction(QCoreApplication::translate("MainWindow", "&Open"));
    Encrypt1 = PopupMenu2->addAction(QCoreApplication::translate("MainWindow", "&Encrypt"));
    Print1 = PopupMenu2->addAction(QCoreApplication::translate("MainWindow", "&Print"));
    Delete1 = PopupMenu2->addAction(QCoreApplication::translate("MainWindow", "&Delete"));

    PopupMenu3 = new QMenu(this);
    Open2 = PopupMenu3->addAction(QCoreApplication::translate("MainWindow", "&Open"));
    Decrypt1 = PopupMenu3->addAction(QCoreApplication::translate("MainWindow", "De&crypt"));
    Print2 = PopupMenu3->addAction(QCoreApplication::translate("MainWindow", "&Print"));
    Delete2 = PopupMenu3->addAction(QCoreApplication::translate("MainWindow", "&Delete"));
    PopupMenu3->addSeparator();
    ConvertToAge1 =
        PopupMenu3->addAction(QCoreApplication::translate("MainWindow", "Con&vert to age…"));
    // A menu is a window of its own and would take the desktop's menu font.
    for (QMenu* menu : {File1, Help1, PopupMenu1, PopupMenu2, PopupMenu3})
        WearWindowFont(*menu);
}

QLabel* TMainWin::AddFigure(QFrame* bevel, QLabel*& caption, const QString& captionText) {
    caption = new QLabel(captionText, bevel);
    caption->setEnabled(false); // the captions are always drawn greyed
    caption->adjustSize();
    caption->move(3, 1);
    auto* figure = new QLabel(bevel);
    TieFigureToCaption(*figure, *caption);
    figure->setGeometry(caption->x() + caption->width() + 3, 1, 400, 14);
    return figure;
}

void TMainWin::CreateControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    CreateNavigation(client);
    CreateFileGrids(client);
    CreateProgressPanel(client);
    CreateTimers();
    setTabOrder(DirectoryListBox1, DriveComboBox1);
    setTabOrder(DriveComboBox1, StringGrid1);
    setTabOrder(StringGrid1, StringGrid2);
    setTabOrder(StringGrid2, Button1);
    DirectoryListBox1->setFocus();
}

void TMainWin::CreateNavigation(QWidget* client) {
    // The first control of the tab order: it has the focus when the window
    // first shows. Coming back to it re-reads the folder.
    DirectoryListBox1 = new TDirectoryListBox(client);
    DirectoryListBox1->setGeometry(4, 28, 185, 351);
    DirectoryListBox1->setFont(WindowFont(12));
    DirectoryListBox1->setAccessibleName(QCoreApplication::translate("MainWindow", "Folders"));
    SetSilver(DirectoryListBox1, Qt::blue);
    DirectoryListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DirectoryListBox1, &QWidget::customContextMenuRequested, this,
            &TMainWin::DirectoryListBox1ContextPopup);
    // Queued: opening a folder rebuilds the list, which must not happen
    // inside the list's own mouse or key handling.
    connect(DirectoryListBox1, &TDirectoryListBox::OpenRequested, this, &TMainWin::Explore1Click,
            Qt::QueuedConnection);
    connect(DirectoryListBox1, &TDirectoryListBox::Entered, this,
            &TMainWin::DirectoryListBox1Enter);
    connect(DirectoryListBox1, &TDirectoryListBox::Changed, this, &TMainWin::FollowDirectory);
    // A folder entered is read once, for its subfolders and its files both;
    // the plain-file list watches it from that read on.
    FileListBox1.WatchAlways();
    DirectoryListBox1->ShareRead(&FileListBox1);
    new TFocusRing(*DirectoryListBox1);

    DriveComboBox1 = new TDriveComboBox(drives_, client);
    DriveComboBox1->setGeometry(4, 4, 181, 19);
    DriveComboBox1->setFont(WindowFont(11));
    DriveComboBox1->setAccessibleName(QCoreApplication::translate("MainWindow", "Drive"));
    const QColor maroon(0x80, 0x00, 0x00);
    SetSilver(DriveComboBox1, maroon);
    {
        QPalette palette = DriveComboBox1->palette();
        palette.setColor(QPalette::ButtonText, maroon);
        // The closed selector is drawn as a button, whose face the style
        // lightens: a darker button colour shows as the silver of the rest.
        palette.setColor(QPalette::Button, kSilver.darker(108));
        DriveComboBox1->setPalette(palette);
    }
    connect(DriveComboBox1, &TDriveComboBox::Picked, this, &TMainWin::DriveComboBox1Click);

    DirLabel = new QLabel(client);
    DirLabel->hide();
}

void TMainWin::CreateFileGrids(QWidget* client) {
    Image1 = new QLabel(client);
    Image1->setGeometry(200, 0, 19, 24);
    Image1->setPixmap(SheetIcon(19, 24, false));
    Label8 =
        new QLabel(QCoreApplication::translate("MainWindow", "Available for encryption"), client);
    Label8->adjustSize();
    Label8->setGeometry(224, 4, Label8->width(), 13);
    Image2 = new QLabel(client);
    Image2->setGeometry(200, 195, 19, 23);
    Image2->setPixmap(SheetIcon(19, 23, true));
    Label21 = new QLabel(QCoreApplication::translate("MainWindow", "Crypted files"), client);
    Label21->adjustSize();
    Label21->setGeometry(224, 199, Label21->width(), 13);

    const QFont gridFont = GridFont();
    StringGrid1 = new TStringGrid(client);
    StringGrid2 = new TStringGrid(client);
    for (TStringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->setFont(gridFont);
        grid->horizontalHeader()->setFont(gridFont);
        SetSilver(grid);
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        // About fifteen characters of the list font; the other columns are
        // as wide as what they show.
        grid->SetDesignNameWidth(grid == StringGrid1 ? 147 : 146);
        new TFocusRing(*grid);
    }
    // Each grid is named by the caption over it.
    Label8->setBuddy(StringGrid1);
    StringGrid1->setAccessibleName(Label8->text());
    Label21->setBuddy(StringGrid2);
    StringGrid2->setAccessibleName(Label21->text());
    StringGrid1->setGeometry(kGridLeft, kGridTop, 323, 159);
    StringGrid2->setGeometry(kGridLeft, 219, 323, 159);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { PopupMenu2->popup(StringGrid1->viewport()->mapToGlobal(at)); });
    connect(StringGrid2, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { PopupMenu3->popup(StringGrid2->viewport()->mapToGlobal(at)); });
    connect(StringGrid1, &TStringGrid::DoubleClicked, this, &TMainWin::StringGrid1DblClick);
    connect(StringGrid2, &TStringGrid::DoubleClicked, this, &TMainWin::StringGrid2DblClick);
    connect(StringGrid1, &TStringGrid::Entered, this, &TMainWin::StringGrid1Enter);
    connect(StringGrid2, &TStringGrid::Entered, this, &TMainWin::StringGrid2Enter);
    // Enter does what a double-click does; Delete what the menu's "Delete" does.
    connect(StringGrid1, &TStringGrid::EnterPressed, this, [this] { KeyOpens(*StringGrid1); });
    connect(StringGrid2, &TStringGrid::EnterPressed, this, [this] { KeyOpens(*StringGrid2); });
    connect(StringGrid1, &TStringGrid::DeletePressed, this, &TMainWin::Delete1Click);
    connect(StringGrid2, &TStringGrid::DeletePressed, this, &TMainWin::Delete2Click);
}

void TMainWin::CreateProgressPanel(QWidget* client) {
    // Each bar, under its grid, shows how much of the file being worked on
    // is on that grid's side: the plain file's bar drains as it is encrypted
    // and fills as it is decrypted, the crypted file's the other way round.
    ProgressBar1 = new TProgressBar(client);
    ProgressBar1->setAccessibleName(QCoreApplication::translate("MainWindow", "Plain file"));
    ProgressBar1->setGeometry(kGridLeft, 173, 323, 9);
    ProgressBar1->hide();
    ProgressBar2 = new TProgressBar(client);
    ProgressBar2->setAccessibleName(QCoreApplication::translate("MainWindow", "Crypted file"));
    ProgressBar2->setGeometry(kGridLeft, 368, 323, 9);
    ProgressBar2->hide();

    Button1 = new QPushButton(QCoreApplication::translate("MainWindow", "Cancel process"), client);
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
    Status_Label = new QLabel(QCoreApplication::translate("MainWindow", "Idle"), Bevel7);
    Status_Label->setGeometry(4, 0, 2000, 15);
    Label11 = AddFigure(Bevel1, Label9, QCoreApplication::translate("MainWindow", "Elapsed:"));
    Label14 = AddFigure(Bevel2, Label13, QCoreApplication::translate("MainWindow", "Estimated:"));
    Label12 = AddFigure(Bevel4, Label10, QCoreApplication::translate("MainWindow", "Remaining:"));
    Label18 = AddFigure(Bevel3, Label17, QCoreApplication::translate("MainWindow", "Done:"));
    // "Throughout:" (for the throughput) is the program's own word and stays.
    //: The bytes a second of the run; the English word stays, translate it as "throughput".
    Label16 = AddFigure(Bevel5, Label15, QCoreApplication::translate("MainWindow", "Throughout:"));
    Label20 = AddFigure(Bevel6, Label19, QCoreApplication::translate("MainWindow", "Size:"));
    FitProgressColumns();
}

// A caption in another language may be wider than the English one: the
// first two columns grow to their widest caption and figure, and the last
// column, which has room to spare, starts that much later.
void TMainWin::FitProgressColumns() {
    const QString time = "99:99:99";
    const QString kilobytes =
        QCoreApplication::translate("MainWindow", "%1 KBytes").arg(QStringLiteral("9999999"));
    const int first = std::max({Bevel1->width(), RoomFor(*Label9, time), RoomFor(*Label13, time)});
    const int second =
        std::max({Bevel4->width(), RoomFor(*Label10, time), RoomFor(*Label17, kilobytes)});
    Bevel1->resize(first, Bevel1->height());
    Bevel2->resize(first, Bevel2->height());
    Bevel4->setGeometry(first, Bevel4->y(), second, Bevel4->height());
    Bevel3->setGeometry(first, Bevel3->y(), second, Bevel3->height());
    Bevel5->move(first + second, Bevel5->y());
    Bevel6->move(first + second, Bevel6->y());
}

void TMainWin::CreateTimers() {
    Timer1 = new TTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TMainWin::Timer1Timer);
    // Soon enough to look immediate, late enough to take a program's burst
    // of changes in one rebuild.
    DiskTimer = new QTimer(this);
    DiskTimer->setSingleShot(true);
    DiskTimer->setInterval(300);
    connect(DiskTimer, &QTimer::timeout, this, &TMainWin::DiskTimerTimer);
    FileListBox1.WatchAlways();
    PwdTimer = new TTimer(this);
    PwdTimer->setInterval(1000);
    connect(PwdTimer, &QTimer::timeout, this, &TMainWin::PwdTimerTimer);
}

} // namespace kelvane
