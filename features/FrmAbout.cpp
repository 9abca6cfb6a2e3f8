#include "features/FrmAbout.h"

#include "app/FrmMain.h"
#include "platform/Fonts.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>

namespace {

constexpr int ClientWidthTwips = 5730;
constexpr int ClientHeightTwips = 3750;

QFrame* SeparatorLine(QWidget* parent, int top, const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setGeometry(rt::TwipsRect(120, top, 5490, 15));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

} // namespace

void FrmMain::mnuVer_Click()
{
    FrmAbout about(this);
    ShowModal(about);
}

FrmAbout::FrmAbout(QWidget* owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFont(ui::GameFont());
    setFixedSize(rt::Px(ClientWidthTwips), rt::Px(ClientHeightTwips));
    buildControls();
    ui::CentreOnScreen(*this);
    Form_Load();
}

void FrmAbout::buildControls()
{
    picIcon.create(this, 240, 240, 540, 540, true);
    picIcon.setPicture(ProgramDir() + QStringLiteral("/ZELMOR.PNG"));

    lblTitle.create(this, 1050, 180, 3885, 540);
    lblTitle.setCaption(QStringLiteral("Zelmor"));
    lblTitle.setFont({24, true, false});

    lblVersion.create(this, 1050, 780, 3885, 225);

    lblDescription.create(this, 240, 1125, 5250, 1935);
    lblDescription.setWordWrap(true);
    lblDescription.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription.setCaption(
        QStringLiteral("遊び方：") + QString(84, QChar(0x3000))
        + QStringLiteral("あなたに１００＄が支給されます。その１００＄であなたは４マスの中から［当］札を探します。"
                         "ここで１回探す事に１０＄支払います。［当］がでたらＢＥＴが１増えます。"
                         "［当］が出る度にＢＥＴが加算していきます。"
                         "さらにスロットチャンスが取得されスタートボタンでスロットが回転します。"
                         "見事３つの絵柄が揃ったらボーナスが支給されます。そして５回のスロットチャンスに入ります。"
                         "狙えば必ず揃います。"));

    Line1[0] = SeparatorLine(this, 3120, QColor(128, 128, 128));
    Line1[1] = SeparatorLine(this, 3135, QColor(255, 255, 255));

    lblDisclaimer.create(this, 240, 3270, 3960, 375);
    lblDisclaimer.setWordWrap(true);
    lblDisclaimer.setCaption(QStringLiteral("絵・音楽・プログラム：ゼルモア制作チーム"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(rt::TwipsRect(4320, 3225, 1260, 375));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

void FrmAbout::Form_Load()
{
    lblVersion.setCaption(QStringLiteral("Version %1.%2.%3")
                              .arg(ZELMOR_VERSION_MAJOR)
                              .arg(ZELMOR_VERSION_MINOR)
                              .arg(ZELMOR_VERSION_PATCH));
}

// OK is both the default and the cancel button: Enter and Escape press it too.
void FrmAbout::cmdOK_Click()
{
    accept();
}

void FrmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
