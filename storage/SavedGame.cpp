// SPDX-License-Identifier: MIT
#include "storage/SavedGame.h"

#include "platform/DataDirectory.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "storage/DataFile.h"
#include "storage/FileAccess.h"
#include "storage/LoadCheck.h"
#include "storage/RuntimeError.h"

#include <QDir>

#include <cmath>

namespace storage {

namespace {

const QString Title = QStringLiteral("ゼルモア");

void Notice(const QString& text)
{
    MsgBox(text, seams::vbInformation, Title);
}

void ShowFatalLoadError(int number)
{
    MsgBox(QStringLiteral("致命的なエラーが発生しました。\r\nエラー番号 ") + rt::SignedText(number)
               + QStringLiteral(" でエラーが発生しています。\r\n"
                                "この番号を作者までご連絡下さい。次期バージョンに修正します。"),
           seams::vbOKOnly, QStringLiteral("Zelmor"));
}

// Money beyond fifteen digits cannot come from play; a hand-edited amount
// is held at that limit so that no sum overflows.
constexpr double MoneyLimit = 999999999999999.0;

// A whole number of dollars from a text, rounded once, half to even.
qint64 WholeDollars(const QString& text)
{
    const double value = std::nearbyint(rt::Val(text));
    return qint64(qBound(-MoneyLimit, value, MoneyLimit));
}

} // namespace

// Chooses the directory and takes its lock; a pair the program directory
// holds but the player cannot write is moved where it can be saved. Each
// change of place is said once, at the start that makes it.
bool SavedGame::claimDirectory()
{
    dir_ = SaveDirectory::Choose(ProgramDir());
    if (dir_.claim() == SaveDirectory::Claim::AlreadyRunning) {
        MsgBox(QStringLiteral("ゼルモアはすでに起動しています。\r\n同じデータ（%1）で遊べるゼルモアは一つだけです。")
                   .arg(QDir::toNativeSeparators(dir_.path())),
               seams::vbExclamation, Title);
        EndProgram();
        return false;
    }
    const QString from = QDir::toNativeSeparators(dir_.programDir());
    switch (dir_.adoptPairFromProgramDirectory()) {
    case SaveDirectory::Adoption::None:
        break;
    case SaveDirectory::Adoption::Copied:
        Notice(QStringLiteral("ゼルモアのフォルダ（%1）には保存できないため、\r\n"
                              "データを %2 に移しました。今後はこちらに保存します。")
                   .arg(from, QDir::toNativeSeparators(dir_.path())));
        break;
    case SaveDirectory::Adoption::Failed:
        Notice(QStringLiteral("ゼルモアのフォルダ（%1）には保存できず、\r\n"
                              "データを %2 に移すこともできませんでした。\r\n"
                              "今回の結果は保存されません。")
                   .arg(from, QDir::toNativeSeparators(platform::PlayerDataDirectory())));
        break;
    }
    return true;
}

SavedGame::Opened SavedGame::open()
{
    if (!claimDirectory())
        return Opened::Running;
    dataMark = 1;
    const LoadOutcome outcome = LoadFiles(dir_.settingsPath(), dir_.dataPath());
    if (outcome.settingsRead)
        settings = outcome.settings;
    if (outcome.markRead)
        loadedMark = outcome.loadedMark;

    switch (outcome.kind) {
    case LoadOutcome::FirstStart:
        settings.savedDirectory.clear();
        break;
    case LoadOutcome::Passed:
        break;
    case LoadOutcome::Failed:
        showWitsDialogs();
        settings.money = QStringLiteral("100");
        appDir_ = ProgramDir();
        return Opened::CheckFailed;
    case LoadOutcome::Fatal:
        // The files stay exactly as they are: nothing is saved on this way out.
        ShowFatalLoadError(outcome.errorNumber);
        EndProgram();
        return Opened::Fatal;
    }

    if (settings.firstStart()) {
        Notice(QStringLiteral("この度はダウンロードして頂きありがとうございます。\r\n"
                              "ちょっとした息抜きにぴったりですので、末永く御利用\r\n"
                              "下さいます様お願い致します。"));
        settings.money = QStringLiteral("100");
    }

    denominator_ = settings.denominator.isEmpty() ? 300 : rt::Val(settings.denominator);
    if (denominator_ < 6) {
        Notice(QStringLiteral("確率の分子は６の為、分母は６以上の値を設定して下さい。\r\n"
                              "６でほとんど大当たりします。初期値は３００です。"));
        // The value in use replaces the refused one: it is what the start-up's
        // notice names and what the next save writes.
        denominator_ = 300;
        settings.denominator = QStringLiteral("300");
    }

    checkPassedTest();

    appDir_ = ProgramDir();
    if (!appDir_.endsWith(QLatin1Char('/')))
        appDir_ += QLatin1Char('/');
    return Opened::Play;
}

// The battle of wits: a player already in it sees the failure dialog; anyone
// else is welcomed and may take it up.
void SavedGame::showWitsDialogs()
{
    if (!settings.battleStatus.isEmpty()) {
        showWitsFailure();
        return;
    }
    const bool taken = seams::prompter().witsWelcome() == seams::WitsChoice::Challenge;
    settings.battleStatus = taken ? Settings::BattleTaken : QString();
    if (taken)
        showWitsFailure();
}

// One more failed check: counted, and from the tenth on the consolation prize.
void SavedGame::showWitsFailure()
{
    const double failures = rt::Val(settings.failureCount) + 1;
    settings.failureCount = rt::DecimalText(failures);
    if (failures >= 10)
        settings.battleStatus = Settings::Consolation;
    seams::prompter().witsFailure(failures);
}

// The reward for a player who passed the check after a failed one.
void SavedGame::checkPassedTest()
{
    if (loadedMark != 0 || settings.battleStatus.isEmpty() || settings.money == QStringLiteral("100"))
        return;
    Notice(QStringLiteral("チェックをパスする事に成功しました。\r\n"
                          "ご褒美としてあなた様には確率を変動させることを許可します。\r\n"
                          "Zelmor.ini ３０行に分母の確立が設定できます。\r\n"
                          "初期値 6/300 ですので 6の設定でほとんど大当たりが期待できます。\r\n"
                          "また、ご意見、ご感想をメールでいただけたらと思います。\r\n"
                          "右記メールアドレスでお待ちしています。 zelmor@example.com"));
    settings.battleStatus.clear();
    settings.failureCount.clear();
}

game::Machine::StartValues SavedGame::startValues() const
{
    game::Machine::StartValues values;
    values.money = settingsMoney();
    values.sound = settings.sound();
    values.unlocked = settings.unlocked();
    values.denominator = denominator_;
    return values;
}

QString SavedGame::denominatorText() const
{
    return settings.denominator.isEmpty() ? QStringLiteral("300") : settings.denominator;
}

qint64 SavedGame::settingsMoney() const
{
    return WholeDollars(settings.money);
}

void SavedGame::takeFrom(const game::Machine& machine)
{
    settings.setSound(machine.state().sound);
    if (machine.state().unlocked)
        settings.unlock();
    if (const auto chosen = machine.chosenDenominator())
        settings.denominator = rt::DecimalText(double(*chosen));
}

void SavedGame::save(qint64 money)
{
    const QString moneyText = rt::DecimalText(double(money));
    settings.savedDirectory = appDir_;
    settings.money = moneyText;
    settings.moneyLength = QString::number(moneyText.size());
    try {
        const QByteArray settingsBytes = EncodeSettings(settings);
        const QByteArray record = EncodeDataRecord(EncodeDataString(moneyText, dataMark, [] { return Rnd(); }));
        WriteFilePair(dir_.settingsPath(), settingsBytes, dir_.dataPath(), record);
    } catch (const RuntimeError&) {
        MsgBox(QStringLiteral("他のアプリケーションがゼルモアのデータファイルをアクセスしています。\r\n"
                              "最終データは登録されませんでした。"),
               seams::vbCritical, Title);
    }
}

} // namespace storage
