#include "app/FrmMain.h"

#include "app/MdlZelmor.h"
#include "platform/Fonts.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>

using rt::RGB;

namespace {

constexpr int ClientWidthTwips = 7410;
constexpr int ClientHeightTwips = 4275;

// The client area: draws the marbled background from the top-left corner.
// The picture is read at the first paint, so the start-up's messages, shown
// before the window, do not wait for it.
class Client : public QWidget {
public:
    using QWidget::QWidget;
    QString backgroundFile;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!backgroundFile.isEmpty()) {
            background_ = ui::PictureFiles::load(backgroundFile);
            backgroundFile.clear();
        }
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xc8, 0xe4, 0xf8));
        if (!background_.isNull())
            painter.drawPixmap(0, 0, background_);
    }

private:
    QPixmap background_;
};

int VbKeyCode(const QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape)
        return 27;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    if (key == Qt::Key_Space)
        return 32;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key;
    return 0;
}

int VbShift(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

FrmMain::FrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("ゼルモア"));
    setFont(ui::GameFont());

    auto* client = new Client(this);
    client->setFixedSize(rt::Px(ClientWidthTwips), rt::Px(ClientHeightTwips));
    client->backgroundFile = ProgramDir() + QStringLiteral("/BACK.BMP");
    client_ = client;
    setCentralWidget(client_);

    const QPixmap icon = ui::PictureFiles::load(ProgramDir() + QStringLiteral("/ZELMOR.PNG"));
    if (!icon.isNull())
        setWindowIcon(QIcon(icon));

    buildControls();
    buildMenus();
    wireHandlers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    qApp->installEventFilter(this);
}

FrmMain::~FrmMain()
{
    qApp->removeEventFilter(this);
}

void FrmMain::buildControls()
{
    QWidget* c = client_;
    const long teal = RGB(0, 128, 128);
    const long orange = RGB(255, 128, 0);
    const long darkOrange = RGB(192, 64, 0);
    const ui::FontStyle big{15.75, true, false};

    // Frames and lamps lie behind the reels.
    Shape5.create(c, 1470, 480, 4190, 3015);
    Shape5.setBorderColor(orange);
    Shape5.setBorderWidth(3);
    Shape2.create(c, 1800, 480, 3520, 255);
    Shape3.create(c, 1800, 3270, 3520, 240);
    Shape7.create(c, 1800, 720, 375, 2550);
    Shape4.create(c, 4950, 720, 375, 2550);
    Shape1.create(c, 2160, 720, 2805, 615);
    Shape6.create(c, 2160, 2640, 2805, 630);
    for (auto* lamp : {&Shape2, &Shape3, &Shape7, &Shape4}) {
        lamp->setFillStyle(ui::FillStyle::Solid);
        lamp->setFillColor(teal);
        lamp->setBorderColor(teal);
    }
    for (auto* band : {&Shape1, &Shape6}) {
        band->setFillStyle(ui::FillStyle::DiagonalCross);
        band->setFillColor(teal);
        band->setBorderColor(teal);
    }
    Shape8.create(c, 1515, 520, 270, 2920);
    Shape10.create(c, 5340, 520, 270, 2925);
    for (auto* lamp : {&Shape8, &Shape10}) {
        lamp->setBorderWidth(3);
        lamp->setFillStyle(ui::FillStyle::DiagonalCross);
        lamp->setBackColor(RGB(128, 64, 0));
        lamp->setFillColor(darkOrange);
        lamp->setBorderColor(darkOrange);
    }
    Shape9.create(c, 240, 480, 1095, 3735);
    Shape9.setBorderColor(RGB(128, 128, 0));
    Shape9.setBorderWidth(3);

    // The reels: one column per reel, the middle row is the pay line.
    ui::Image* reels[9] = {&Image1, &Image2, &Image3, &Image4, &Image5, &Image6, &Image7, &Image8, &Image9};
    const int lefts[3] = {2160, 3120, 4080};
    const int tops[3] = {720, 1560, 2400};
    for (int i = 0; i < 9; ++i)
        reels[i]->create(c, lefts[i / 3], tops[i % 3], 855, 855);

    Label8.create(c, 960, 120, 5175, 375);
    Label8.setCaption(QStringLiteral("ＺＥＬＭＯＲ"));
    Label8.setFont({18, true, true});
    Label8.setForeColor(orange);
    Label8.setAlignment(Qt::AlignCenter);

    Label7.create(c, 600, 520, 495, 255);
    Label7.setCaption(QStringLiteral("10$"));
    Label7.setFont({9, true, false});
    Label7.setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The four covers with their letters.
    const struct {
        ui::Image* cover;
        ui::Label* letter;
        int top;
        int letterTop;
        const char16_t* name;
        const char16_t* tip;
    } covers[4] = {
        {&Image10, &Label3, 720, 840, u"A", u"当たるかな？"},
        {&Image11, &Label4, 1440, 1560, u"B", u"次はどうかな？"},
        {&Image12, &Label5, 2160, 2280, u"C", u"いいかも！？"},
        {&Image13, &Label6, 2880, 3000, u"D", u"ん～"},
    };
    for (const auto& k : covers) {
        k.cover->create(c, 600, k.top, 540, 540);
        k.cover->setToolTip(QString::fromUtf16(k.tip));
        k.letter->create(c, 360, k.letterTop, 255, 375);
        k.letter->setCaption(QString::fromUtf16(k.name));
        k.letter->setFont(big);
        k.letter->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    Label13.create(c, 6360, 480, 615, 255);
    Label13.setCaption(QStringLiteral("獲得＄"));
    Label13.setFont({9, true, false});
    Label13.setForeColor(RGB(0, 0, 64));

    Label12.create(c, 5760, 720, 1575, 375);
    Label1.create(c, 5760, 1440, 1575, 375);
    for (auto* amount : {&Label12, &Label1}) {
        amount->setFont(big);
        amount->setForeColor(RGB(255, 255, 255));
        amount->setBackColor(RGB(0, 0, 0));
        amount->setBorder(true);
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    Label12.setCaption(QStringLiteral("100"));
    Label1.setCaption(QStringLiteral("100"));

    Label2.create(c, 6000, 1200, 1335, 255);
    Label2.setCaption(QStringLiteral("持ち金（＄）"));
    Label2.setFont({9.75, true, false});
    Label2.setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label9.create(c, 6120, 2040, 855, 255);
    Label9.setCaption(QStringLiteral("狙い出目"));
    Label9.setFont({9.75, true, false});
    Label9.setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Image14.create(c, 6120, 2400, 855, 855);

    Label10.create(c, 6240, 3360, 615, 375);
    Label10.setCaption(QStringLiteral("BET"));
    Label10.setFont(big);

    Label11.create(c, 6280, 3720, 495, 375);
    Label11.setCaption(QStringLiteral("0"));
    Label11.setFont(big);
    Label11.setForeColor(RGB(0, 0, 255));
    Label11.setBackColor(RGB(255, 255, 255));
    Label11.setBorder(true);
    Label11.setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Command1.create(c, 400, 3600, 750, 495);
    Command1.setBackColor(RGB(0, 255, 0));
    Command1.setPicture(ProgramDir() + QStringLiteral("/START.BMP"), RGB(128, 255, 128));
    Command1.setVisible(false);

    const QString stopIcon = ProgramDir() + QStringLiteral("/STOP.PNG");
    const struct {
        ui::Image* button;
        int left;
    } stops[3] = {{&ImgLStop, 2340}, {&ImgCStop, 3300}, {&ImgRStop, 4280}};
    for (const auto& s : stops) {
        s.button->create(c, s.left, 3600, 480, 480, false);
        s.button->setPicture(stopIcon);
        s.button->setVisible(false);
    }

    Label14.create(c, 5280, 3640, 375, 375);
    Label14.setCaption(QStringLiteral("5"));
    Label14.setFont(big);
    Label14.setForeColor(RGB(255, 255, 255));
    Label14.setBackColor(RGB(0, 0, 0));
    Label14.setBorder(true);
    Label14.setAlignment(Qt::AlignCenter);
    Label14.setVisible(false);

    Timer1.create(this, 25, false);
    Timer2.create(this, 250, true);
    Timer3.create(this, 1000, true);

    MMControl1.setDeviceType(QStringLiteral("Sequencer"));
    MMControl2.setDeviceType(QStringLiteral("WaveAudio"));
}

void FrmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    mnuFile.createMenu(bar, QStringLiteral("ファイル(&F)"));
    mnuRent.createItem(mnuFile, QStringLiteral("お願い100$借して(&1)"));
    mnuRen1.createItem(mnuFile, QStringLiteral("お願い1000$借して(&2)"));
    mnuSF1.createItem(mnuFile, QStringLiteral("-"));
    mnuMusic.createItem(mnuFile, QStringLiteral("音はいらない(&S)"), true);
    mnuKakuritu.createItem(mnuFile, QStringLiteral("確率変動(&K)"));
    mnuSF2.createItem(mnuFile, QStringLiteral("-"));
    mnuQuit.createItem(mnuFile, QStringLiteral("ゼルモアの終了(&Q)"));
    mnuHelp.createMenu(bar, QStringLiteral("ヘルプ(&H)"));
    mnuVer.createItem(mnuHelp, QStringLiteral("バージョン情報(&V)"));
    mnuMes.createItem(mnuHelp, QStringLiteral("ヘルプ(&M)"));
}

void FrmMain::wireHandlers()
{
    Command1.onClick = [this] { Command1_Click(); };
    Image10.onClick = [this] { Image10_Click(); };
    Image11.onClick = [this] { Image11_Click(); };
    Image12.onClick = [this] { Image12_Click(); };
    Image13.onClick = [this] { Image13_Click(); };
    ImgLStop.onClick = [this] { ImgLStop_Click(); };
    ImgCStop.onClick = [this] { ImgCStop_Click(); };
    ImgRStop.onClick = [this] { ImgRStop_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Timer3.onTimer = [this] { Timer3_Timer(); };
    mnuRent.onClick = [this] { mnuRent_Click(); };
    mnuRen1.onClick = [this] { mnuRen1_Click(); };
    mnuMusic.onClick = [this] { mnuMusic_Click(); };
    mnuKakuritu.onClick = [this] { mnuKakuritu_Click(); };
    mnuQuit.onClick = [this] { mnuQuit_Click(); };
    mnuVer.onClick = [this] { mnuVer_Click(); };
    mnuMes.onClick = [this] { mnuMes_Click(); };
    MMControl1.onDone = [this](int code) { MMControl1_Done(code); };
}

void FrmMain::setMousePointer(ui::MousePointer pointer)
{
    pointer_ = pointer;
    switch (pointer) {
    case ui::MousePointer::Default: unsetCursor(); break;
    case ui::MousePointer::Hourglass: setCursor(Qt::WaitCursor); break;
    case ui::MousePointer::ArrowHourglass: setCursor(Qt::BusyCursor); break;
    }
}

bool FrmMain::SoundOn()
{
    return MdlZelmor::SaveLines[3] == QStringLiteral("0");
}

void FrmMain::EndOfSpin()
{
    for (auto* cover : {&Image10, &Image11, &Image12, &Image13})
        cover->setEnabled(true);
    Label11.setCaption(QStringLiteral("0"));
    mnuFile.setEnabled(true);
    mnuHelp.setEnabled(true);
    setMousePointer(ui::MousePointer::Default);
}

// The window sees key presses before its controls do.
bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        // Only Escape means anything to the game; other keys go on to the controls.
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = VbKeyCode(key);
        Form_KeyDown(code, VbShift(key));
        return code == 27;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    if (!ProgramEnded())
        Form_QueryUnload();
    event->accept();
}
