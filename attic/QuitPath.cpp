// Saving and every way out of the program: the quit command, Escape and the close box.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "storage/DataFile.h"
#include "storage/FileAccess.h"
#include "storage/Paths.h"
#include "storage/RuntimeError.h"
#include "storage/SettingsFile.h"

using namespace MdlZelmor;

namespace {

// Blanks only, as the money label may hold them.
QString TrimBlanks(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

void FrmMain::Form_QueryUnload()
{
    mnuQuit_Click();
}

void FrmMain::mnuQuit_Click()
{
    if (SoundOn()) {
        MMControl1.setCommand(QStringLiteral("Close"));
        MMControl2.setCommand(QStringLiteral("Close"));
    }
    SaveData();
    EndProgram();
}

void FrmMain::SaveData()
{
    const QString money = Label1.caption();
    SaveLines[1] = AppDir;
    SaveLines[2] = TrimBlanks(money);
    SaveLines[4] = QString::number(money.size());
    try {
        const QByteArray settings = storage::EncodeSettings(SaveLines);
        const QByteArray record =
            storage::EncodeDataRecord(storage::EncodeDataString(SaveLines[2], DataMark, [] { return Rnd(); }));
        storage::WriteFilePair(storage::SettingsPath(), settings, storage::DataPath(), record);
    } catch (const storage::RuntimeError&) {
        MsgBox(QStringLiteral("他のアプリケーションがゼルモアのデータファイルをアクセスしています。\r\n"
                              "最終データは登録されませんでした。"),
               seams::vbCritical, QStringLiteral("ゼルモア"));
    }
}
