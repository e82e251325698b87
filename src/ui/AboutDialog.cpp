// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDialog.h"

#include "crypto/Translate.h"
#include "platform/MessageSeam.h"
#include "ui/Padlock.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace kelvane {

TAbout* About = nullptr;

const char* WebAddress() {
    return KELVANE_WEB_ADDRESS;
}

namespace {

constexpr int kTextLeft = 108;
constexpr int kFigureLeft = 150;

// The product picture: a sheet of paper under a padlock, drawn rather than
// shipped so the box needs no image files.
QPixmap ProductPicture() {
    QPixmap picture(81, 89);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(70, 70, 70), 1.5));
    painter.setBrush(QColor(250, 250, 245));
    QPainterPath sheet;
    sheet.moveTo(8, 4);
    sheet.lineTo(52, 4);
    sheet.lineTo(68, 20);
    sheet.lineTo(68, 84);
    sheet.lineTo(8, 84);
    sheet.closeSubpath();
    painter.drawPath(sheet);
    painter.setPen(QPen(QColor(150, 150, 160), 2));
    for (int y = 26; y <= 44; y += 6)
        painter.drawLine(16, y, 60, y);
    DrawPadlock(painter, QRectF(31, 40, 40, 46));
    return picture;
}

QFont LargeBold(QFont font) {
    font.setPointSize(16);
    font.setBold(true);
    return font;
}

QLabel* PlacedLabel(const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

WebLauncher::WebLauncher()
    : startProgram(StartCommandLine), openInDefaultBrowser([](const std::string& address) {
          return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
      }) {}

bool StartCommandLine(const std::string& commandLine) {
    QStringList words = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words);
}

std::string MemoryText(uint64_t totalBytes) {
    return std::to_string(totalBytes / 1024);
}

TAbout::TAbout(QWidget* parent) : TModalForm(parent), System(&ThisSystem()) {
    setWindowTitle(QCoreApplication::translate("AboutDialog", "About Kelvane95"));
    SetDialogFrame(CloseBox::Yes);
    setMouseTracking(true);

    CreateTitle();
    CreateLink();
    CreateFigures();

    Button1 = new QPushButton(QCoreApplication::translate("AboutDialog", "Ok"), this);
    Button1->setGeometry(143, 208, 84, 26);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    setFixedSize(370, 246);
}

void TAbout::FormActivate() {
    CentreOnScreen();
}

TAbout::~TAbout() {
    SetHelpCursor(false);
    if (About == this)
        About = nullptr;
}

void TAbout::CreateTitle() {
    Image1 = new QLabel(this);
    Image1->setGeometry(12, 12, 81, 89);
    Image1->setPixmap(ProductPicture());

    Label1 = PlacedLabel("Kelvane 95", this, kTextLeft, 12);
    Label1->setFont(LargeBold(Label1->font()));
    Label1->adjustSize();
    Label2 =
        PlacedLabel(QCoreApplication::translate("AboutDialog", "based on "), this, kTextLeft, 44);
    Label2->setFont(LargeBold(Label2->font()));
    Label2->adjustSize();
    Label3 = PlacedLabel("DES", this, kTextLeft + Label2->width(), 44);
    Label3->setFont(LargeBold(Label3->font()));
    Label3->adjustSize();
}

void TAbout::CreateLink() {
    Label10 = PlacedLabel(QCoreApplication::translate("AboutDialog", "Visit our Web page:"), this,
                          kTextLeft, 84);
    QFont italic = Label10->font();
    italic.setItalic(true);
    Label10->setFont(italic);
    Label10->adjustSize();
    Label10->setMouseTracking(true);
    Label10->installEventFilter(this);

    Http_Label = PlacedLabel(WebAddress(), this, kTextLeft, 104);
    QPalette colours = Http_Label->palette();
    colours.setColor(QPalette::Window, QColor(192, 192, 192));
    colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Http_Label->setPalette(colours);
    Http_Label->setAutoFillBackground(true);
    Http_Label->setMouseTracking(true);
    Http_Label->installEventFilter(this);
}

void TAbout::CreateFigures() {
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(12, 134, 346, 2);
    Label5 = PlacedLabel(QCoreApplication::translate("AboutDialog", "OS version:"), this, 24, 148);
    Label6 = PlacedLabel(QString(), this, kFigureLeft, 148);
    Label7 = PlacedLabel(QCoreApplication::translate("AboutDialog", "Total memory , Kb:"), this, 24,
                         172);
    Label9 = PlacedLabel(QString(), this, kFigureLeft, 172);
}

void TAbout::ShowFigures() {
    Label6->setText(QString::fromStdString(VersionText(System->Version())));
    Label6->adjustSize();
    Label9->setText(QString::fromStdString(MemoryText(System->TotalMemoryBytes())));
    Label9->adjustSize();
}

void TAbout::Http_LabelClick() {
    const std::string address = Http_Label->text().toStdString();
    std::optional<std::string> browser;
    if (std::unique_ptr<Registry> registry = Launcher.openRegistry()) {
        if (registry->OpenKey("\\HTTP\\shell\\open\\command"))
            browser = registry->ReadString("");
        registry->CloseKey();
    }
    // A browser named by the registry is started with the address after its
    // command; whether it starts is its own business, as with any program.
    if (browser && !browser->empty()) {
        Launcher.startProgram(*browser + " " + address);
        return;
    }
    if (!Launcher.openInDefaultBrowser(address))
        ShowError(Tr("AboutDialog", kNoBrowserMessage));
}

void TAbout::Http_LabelMouseMove() {
    SetHelpCursor(true);
}

void TAbout::FormMouseMove() {
    SetHelpCursor(false);
}

void TAbout::Label10MouseMove() {
    SetHelpCursor(false);
}

void TAbout::FormClose() {
    SetHelpCursor(false);
}

// Every way out of the box (Ok, Escape, the close box) ends here.
void TAbout::done(int result) {
    FormClose();
    TModalForm::done(result);
}

void TAbout::SetHelpCursor(bool help) {
    if (help == helpCursorShown_)
        return;
    helpCursorShown_ = help;
    if (help)
        QGuiApplication::setOverrideCursor(Qt::WhatsThisCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

bool TAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Http_Label)
            Http_LabelMouseMove();
        else if (watched == Label10)
            Label10MouseMove();
        return true;
    }
    if (watched == Http_Label && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Http_LabelClick();
        return true;
    }
    return TModalForm::eventFilter(watched, event);
}

void TAbout::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove();
    TModalForm::mouseMoveEvent(event);
}

} // namespace kelvane
