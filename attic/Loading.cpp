// Loading the two files and checking them against each other.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "storage/FrmChie.h"
#include "storage/FrmKurabe.h"
#include "storage/LoadCheck.h"
#include "storage/Paths.h"

using namespace MdlZelmor;

namespace {

void ShowFatalLoadError(int number)
{
    MsgBox(QStringLiteral("致命的なエラーが発生しました。\r\nエラー番号 ") + rt::SignedText(number)
               + QStringLiteral(" でエラーが発生しています。\r\n"
                                "この番号を作者までご連絡下さい。次期バージョンに修正します。"),
           seams::vbOKOnly, QStringLiteral("Zelmor"));
}

} // namespace

bool FrmMain::LoadData()
{
    FileMissing = 0;
    const storage::LoadOutcome outcome = storage::LoadFiles(storage::SettingsPath(), storage::DataPath());
    FileMissing = outcome.fileMissing ? 1 : 0;
    if (outcome.linesRead)
        std::copy(outcome.lines.begin() + 1, outcome.lines.end(), SaveLines.begin() + 1);
    if (outcome.markRead)
        LoadedMark = outcome.loadedMark;

    switch (outcome.kind) {
    case storage::LoadOutcome::FirstStart:
        SaveLines[1].clear();
        return true;
    case storage::LoadOutcome::Passed:
        return true;
    case storage::LoadOutcome::Failed:
        ShowWitsDialogs();
        SaveLines[2] = QStringLiteral("100");
        return false;
    case storage::LoadOutcome::Fatal:
        // The files stay exactly as they are: nothing is saved on this way out.
        ShowFatalLoadError(outcome.errorNumber);
        EndProgram();
        return false;
    }
    return true;
}

bool FrmMain::ShowWitsDialogs()
{
    if (!SaveLines[5].isEmpty()) {
        FrmKurabe kurabe(this);
        ShowModal(kurabe);
        return true;
    }
    {
        FrmChie chie(this);
        ShowModal(chie);
    }
    if (SaveLines[5].isEmpty())
        return true;
    FrmKurabe kurabe(this);
    ShowModal(kurabe);
    return true;
}

void FrmMain::CheckPassedTest()
{
    if (LoadedMark != 0 || SaveLines[5].isEmpty() || SaveLines[2] == QStringLiteral("100"))
        return;
    MsgBox(QStringLiteral("チェックをパスする事に成功しました。\r\n"
                          "ご褒美としてあなた様には確率を変動させることを許可します。\r\n"
                          "Zelmor.ini ３０行に分母の確立が設定できます。\r\n"
                          "初期値 6/300 ですので 6の設定でほとんど大当たりが期待できます。\r\n"
                          "また、ご意見、ご感想をメールでいただけたらと思います。\r\n"
                          "右記メールアドレスでお待ちしています。 zelmor@example.com"),
           seams::vbInformation, QStringLiteral("ゼルモア"));
    SaveLines[5].clear();
    SaveLines[6].clear();
}
