#include "features/FrmSelect.h"

#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Fonts.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <QKeyEvent>
#include <QPushButton>

using namespace MdlZelmor;

namespace {

constexpr int ClientWidthTwips = 8070;
constexpr int ClientHeightTwips = 2025;

QString SymbolFile(int k)
{
    return AppDir + QStringLiteral("R0") + QString::number(k) + QStringLiteral(".BMP");
}

} // namespace

// Shown after a cover hit above $1,000,000; a fresh dialog every time.
void FrmMain::ShowTargetDialog()
{
    FrmSelect dialog(*this);
    ShowModal(dialog);
}

FrmSelect::FrmSelect(FrmMain& main)
    : QDialog(&main)
    , main_(main)
{
    setWindowTitle(QStringLiteral("狙い出目の選択　　　選択すると１００＄支払います。"));
    setFont(ui::GameFont());
    setFixedSize(rt::Px(ClientWidthTwips), rt::Px(ClientHeightTwips));
    buildControls();
    const QRect owner = main.frameGeometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
    Form_Load();
}

void FrmSelect::buildControls()
{
    for (int k = 1; k <= 9; ++k) {
        ui::Image& image = SymbolImage(k);
        image.create(this, 240 + 840 * (k - 1), 120, 870, 870, true);
        image.setToolTip(QStringLiteral("この絵柄を選択します。"));
        image.onClick = [this, k] { ChooseSymbol(k); };
    }
    Command1 = new QPushButton(QStringLiteral("選択しない"), this);
    Command1->setGeometry(rt::TwipsRect(720, 1200, 6735, 375));
    Command1->setToolTip(QStringLiteral("絵柄を選択しません。１００＄は不要"));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    Label1.create(this, 120, 1680, 7815, 255);
    Label1.setCaption(QStringLiteral("もし、大当たりして狙い目通りだと、得点のさらに１００倍になります."));
}

ui::Image& FrmSelect::SymbolImage(int k)
{
    ui::Image* images[9] = {&Image2, &Image3, &Image4, &Image5, &Image6, &Image7, &Image8, &Image9, &Image10};
    return *images[k - 1];
}

void FrmSelect::Form_Load()
{
    for (int k = 1; k <= 9; ++k)
        SymbolImage(k).setPicture(SymbolFile(k));
    TargetRate = 1;
    TargetSymbol = 0;
}

void FrmSelect::ChooseSymbol(int k)
{
    TargetSymbol = k;
    TargetRate = 100;
    main_.Label1.setCaption(rt::DecimalText(rt::Val(main_.Label1.caption()) - 100));
    main_.Image14.setPicture(SymbolFile(k));
    close();
}

void FrmSelect::Command1_Click()
{
    close();
}

void FrmSelect::Form_KeyDown(int keyCode, int /*shift*/)
{
    if (keyCode == 27)
        close();
}

// The dialog sees the keys its button leaves alone; only Escape means anything.
void FrmSelect::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Form_KeyDown(27, 0);
        return;
    }
    QDialog::keyPressEvent(event);
}
