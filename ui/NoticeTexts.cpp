// SPDX-License-Identifier: MIT
#include "ui/NoticeTexts.h"

#include "platform/Runtime.h"

#include <QCoreApplication>
#include <QDir>

#include <array>

namespace ui {

namespace {

using game::Notice;

// The notices' words share one translation context.
struct Words {
    Q_DECLARE_TR_FUNCTIONS(Notice)
};

Message Told(const QString& text, QMessageBox::Icon icon = QMessageBox::Information)
{
    return {Words::tr("ゼルモア"), text, icon, Buttons::Ok};
}

// The three excuses of a refused $100 loan, by the notice's number 1..3.
std::optional<Message> LoanExcuse(qint64 excuse)
{
    static constexpr std::array<const char*, 3> Excuses{
        QT_TRANSLATE_NOOP("Notice", "僕も貸す金ないよ."),
        QT_TRANSLATE_NOOP("Notice", "貸せないよ."),
        QT_TRANSLATE_NOOP("Notice", "そんな簡単に貸せないよ."),
    };
    if (excuse < 1 || excuse > qint64(Excuses.size()))
        return std::nullopt;
    return Told(Words::tr(Excuses[std::size_t(excuse - 1)]));
}

// A directory as the player's system writes it.
QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The loader's fatal message: titled with the program's name, no icon. The
// file it could not read follows the error number, when it is known.
Message LoadFailure(const Notice& notice)
{
    QString text = Words::tr("致命的なエラーが発生しました。\r\n"
                             "エラー番号 %1 でエラーが発生しています。\r\n")
                       .arg(rt::SignedText(double(notice.number)));
    if (!notice.path.isEmpty())
        text += Words::tr("ファイル：%1").arg(Shown(notice.path)) + QStringLiteral("\r\n");
    text += Words::tr("この番号を作者までご連絡下さい。次期バージョンに修正します。");
    return Message {QStringLiteral("Zelmor"), text, QMessageBox::NoIcon, Buttons::Ok};
}

// Why a save failed, where, and what is kept. A file that another program
// holds keeps the old game's words.
Message SaveFailure(const Notice& notice)
{
    // After a first start there is no earlier save to keep.
    const QString kept = notice.earlierSaveKept
        ? QStringLiteral("\r\n") + Words::tr("前回までのデータはそのまま残っています。")
        : QString();
    QString text;
    switch (notice.saveProblem) {
    case game::SaveProblem::HeldByAnotherProgram:
        text = Words::tr("他のアプリケーションがゼルモアのデータファイルをアクセスしています。\r\n"
                         "最終データは登録されませんでした。");
        break;
    case game::SaveProblem::DiskFull:
        text = Words::tr("保存先（%1）のディスクに空きがないため、今回のデータを保存できませんでした。")
                   .arg(Shown(notice.path))
            + kept;
        break;
    case game::SaveProblem::NotWritable:
        text = Words::tr("%1 に書き込めない（読み取り専用か、権限がない）ため、今回のデータを保存できませんでした。")
                   .arg(Shown(notice.path))
            + kept;
        break;
    case game::SaveProblem::InTheWay:
        text = Words::tr("%1 にファイルではないもの（フォルダなど）があるため、今回のデータを保存できませんでした。")
                   .arg(Shown(notice.path))
            + kept;
        break;
    case game::SaveProblem::Unfinished:
        text = Words::tr("データファイル（%1）を置き換えられず、保存が途中で止まりました。\r\n"
                         "今回のデータは、次回の起動時に保存を終えます。")
                   .arg(Shown(notice.path));
        break;
    case game::SaveProblem::Other:
        text = Words::tr("%1 への書き込み中にエラーが発生したため、今回のデータを保存できませんでした。")
                   .arg(Shown(notice.path))
            + kept;
        break;
    }
    return Told(text, QMessageBox::Critical);
}

} // namespace

// One row per notice: its words, icon and title.
std::optional<Message> NoticeMessage(const Notice& notice)
{
    switch (notice.kind) {
    // Play
    case Notice::BetLimit: return Told(Words::tr("ＢＥＴは１０倍迄です。"));
    case Notice::SoundDeviceFailed: return Told(Words::tr("音源デバイスエラーです。<音はいらない> に自動設定します。"));
    case Notice::Bust: return Told(Words::tr("パンクしました。"));
    case Notice::Goal:
        return Told(Words::tr("達成おめでとうございます。\r\n今後確率を自由に変更できます。\r\n"
                              "１００＄から再スタートとなります。"));
    case Notice::LoanNotNeeded: return Told(Words::tr("どうして？お金もってるじゃない！"));
    case Notice::LoanRefused: return LoanExcuse(notice.number);
    case Notice::BigLoanRefused: return Told(Words::tr("ちょっと！そんな大金ないよ。"));
    case Notice::ProbabilityChanged:
        return Told(Words::tr("確率を%1分の6に変更しました。").arg(rt::DecimalText(double(notice.number))));
    // Start-up
    case Notice::Welcome:
        return Told(Words::tr("この度はダウンロードして頂きありがとうございます。\r\n"
                              "ちょっとした息抜きにぴったりですので、末永く御利用\r\n"
                              "下さいます様お願い致します。"));
    case Notice::DenominatorRefused:
        return Told(Words::tr("確率の分子は６の為、分母は６以上の値を設定して下さい。\r\n"
                              "６でほとんど大当たりします。初期値は３００です。"));
    case Notice::CheckPassed:
        return Told(Words::tr("チェックをパスする事に成功しました。\r\n"
                              "ご褒美としてあなた様には確率を変動させることを許可します。\r\n"
                              "Zelmor.ini ３０行に分母の確立が設定できます。\r\n"
                              "初期値 6/300 ですので 6の設定でほとんど大当たりが期待できます。\r\n"
                              "また、ご意見、ご感想をメールでいただけたらと思います。\r\n"
                              "右記メールアドレスでお待ちしています。 zelmor@example.com"));
    case Notice::WitsFailure: return std::nullopt;
    case Notice::CurrentProbability:
        return Told(Words::tr("現在の確率設定は、%1分の6に設定されています。").arg(notice.text));
    // The files
    case Notice::AlreadyRunning:
        return Told(Words::tr("ゼルモアはすでに起動しています。\r\n同じデータ（%1）で遊べるゼルモアは一つだけです。")
                        .arg(Shown(notice.path)),
            QMessageBox::Warning);
    case Notice::CannotLock:
        return Told(Words::tr("ゼルモアを二重に起動しないためのファイル（%1）を作れないため、\r\n"
                              "ゼルモアを終了します。データは変更していません。")
                        .arg(Shown(notice.path)),
            QMessageBox::Critical);
    case Notice::PairMoved:
        return Told(Words::tr("ゼルモアのフォルダ（%1）には保存できないため、\r\n"
                              "データを %2 に移しました。今後はこちらに保存します。")
                        .arg(Shown(notice.path), Shown(notice.otherPath)));
    case Notice::PairNotMoved:
        return Told(Words::tr("ゼルモアのフォルダ（%1）には保存できず、\r\n"
                              "データを %2 に移すこともできませんでした。\r\n"
                              "今回の結果は保存されません。")
                        .arg(Shown(notice.path), Shown(notice.otherPath)));
    case Notice::LoadFailed: return LoadFailure(notice);
    case Notice::SaveFailed: return SaveFailure(notice);
    case Notice::FilesMissing:
        return Told(Words::tr("ゼルモアのフォルダ（%1）に次のファイルがありません。\r\n%2\r\n"
                              "絵は代わりの絵を表示し、音は鳴らさずに、このまま遊べます。")
                        .arg(Shown(notice.path), notice.files.join(Words::tr("、"))),
            QMessageBox::Warning);
    }
    return std::nullopt;
}

Question DenominatorQuestion()
{
    return {Words::tr("確率変動"),
        Words::tr("確率の分母を入力してください。\r\n"
                  "通常の確率分母は 300 です。\r\n"
                  "大当り値が 6 個ある為 6 以下の数値は入力できません。")};
}

} // namespace ui
