// SPDX-License-Identifier: MIT
// The rules of start-up on what the files say, without files: the greeting
// of a first start, the battle of wits after a failed check, the denominator
// and the reward for passing the check after a failed one; what each tells
// and asks, in order, and what it leaves for the next save.
#include "game/StartUp.h"
#include "tests/support/Rig.h"

#include <QtTest>

using namespace testing;
using namespace Qt::StringLiterals;
using game::SavedState;
using game::StartOutcome;
using game::WitsChoice;
using game::WitsStatus;
using Check = SavedState::Check;
using Count = SavedState::Count;

namespace {

// The fields the rules read and change, as one line:
// "$100 Taken 3 counted 1/300 mark 0", where "1/300" is the line-30 text
// ("-" for none) and "mark 0" says the next save is the one after a failed check.
QString Summary(const SavedState& s)
{
    static const char* const wits[] = {"None", "Taken", "Consolation"};
    static const char* const change[] = {"kept", "counted", "cleared"};
    return u"$%1 %2 %3 %4 1/%5 mark %6"_s.arg(s.money)
        .arg(QLatin1String(wits[int(s.wits)]))
        .arg(s.failures, 0, 'g', 21)
        .arg(QLatin1String(change[int(s.failuresChange)]))
        .arg(s.denominatorText.isEmpty() ? u"-"_s : s.denominatorText)
        .arg(s.afterFailedCheck ? 0 : 1);
}

SavedState Saved(Check check, qint64 money, WitsStatus wits = WitsStatus::None, double failures = 0,
                 const QString& denominator = {}, bool afterFailedCheck = false)
{
    SavedState s;
    s.check = check;
    s.everSaved = check != Check::FirstStart;
    s.money = money;
    s.wits = wits;
    s.failures = failures;
    s.denominatorText = denominator;
    s.afterFailedCheck = afterFailedCheck;
    return s;
}

struct Start {
    SavedState saved;
    StartOutcome outcome = StartOutcome::Play;
    QStringList shown;     // the notices and questions, as ScriptedPrompts lists them
    QString after;         // Summary() of the state the next save writes
    double inForce = 300;  // the denominator the machine starts with
    QString named = {};    // the denominator the start-up's last notice names
};

} // namespace

Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(WitsChoice)

class TestStartUp : public QObject {
    Q_OBJECT
private slots:
    void rules_data()
    {
        QTest::addColumn<Start>("c");
        QTest::addColumn<WitsChoice>("answer");
        const auto taken = WitsStatus::Taken, consoled = WitsStatus::Consolation;
        const auto played = StartOutcome::Play, failed = StartOutcome::CheckFailed;
        const WitsChoice closed = WitsChoice::Closed;
        auto notEverSaved = [](SavedState s) {
            s.everSaved = false;
            return s;
        };

        // A first start, and a pair whose line 1 is empty, are greeted and play on $100.
        QTest::newRow("first start") << Start{Saved(Check::FirstStart, 0), played, {u"Welcome"_s},
                                              u"$100 None 0 kept 1/- mark 1"_s, 300, u"300"_s} << closed;
        QTest::newRow("line 1 empty") << Start{notEverSaved(Saved(Check::Passed, 5000)), played, {u"Welcome"_s},
                                               u"$100 None 0 kept 1/- mark 1"_s, 300, u"300"_s} << closed;
        QTest::newRow("passed") << Start{Saved(Check::Passed, 5000, taken, 2), played, {},
                                         u"$5000 Taken 2 kept 1/- mark 1"_s, 300, u"300"_s} << closed;
        // A damaged file: nothing is told here and nothing changes.
        QTest::newRow("damaged") << Start{Saved(Check::Damaged, 5000, taken, 2), StartOutcome::Damaged, {},
                                          u"$5000 Taken 2 kept 1/- mark 1"_s} << closed;

        // A failed check: the money restarts, the next save carries the mark
        // 0, and the battle of wits is offered or goes on.
        QTest::newRow("failed, welcome closed") << Start{Saved(Check::Failed, 5000, {}, 3), failed, {u"wits"_s},
                                                         u"$100 None 3 kept 1/- mark 0"_s} << closed;
        QTest::newRow("failed, promised") << Start{Saved(Check::Failed, 5000, {}, 3), failed, {u"wits"_s},
                                                   u"$100 None 3 kept 1/- mark 0"_s} << WitsChoice::Promise;
        QTest::newRow("failed, taken up") << Start{Saved(Check::Failed, 5000), failed,
                                                   {u"wits"_s, u"WitsFailure 1 1"_s},
                                                   u"$100 Taken 1 counted 1/- mark 0"_s} << WitsChoice::Challenge;
        QTest::newRow("9th failure") << Start{Saved(Check::Failed, 5000, taken, 8), failed, {u"WitsFailure 9 9"_s},
                                              u"$100 Taken 9 counted 1/- mark 0"_s} << WitsChoice::Challenge;
        QTest::newRow("10th failure, consoled") << Start{Saved(Check::Failed, 5000, taken, 9), failed,
                                                         {u"WitsFailure 10 10"_s},
                                                         u"$100 Consolation 10 counted 1/- mark 0"_s} << closed;
        QTest::newRow("12th failure") << Start{Saved(Check::Failed, 5000, consoled, 11), failed,
                                               {u"WitsFailure 12 12"_s},
                                               u"$100 Consolation 12 counted 1/- mark 0"_s} << closed;
        QTest::newRow("count negative") << Start{Saved(Check::Failed, 5000, taken, -3), failed,
                                                 {u"WitsFailure -2 -2"_s},
                                                 u"$100 Taken -2 counted 1/- mark 0"_s} << closed;
        QTest::newRow("count fractional") << Start{Saved(Check::Failed, 5000, taken, 2.5), failed,
                                                   {u"WitsFailure 3 4"_s},
                                                   u"$100 Taken 3.5 counted 1/- mark 0"_s} << closed;
        // Beyond any whole number: the dialog shows the count's full text.
        QTest::newRow("count huge") << Start{Saved(Check::Failed, 5000, taken, 1e20), failed,
                                             {u"WitsFailure 9000000000000000000 100000000000000000000"_s},
                                             u"$100 Consolation 100000000000000000000 counted 1/- mark 0"_s} << closed;
        // The denominator is not looked at after a failed check.
        QTest::newRow("failed, denominator 5") << Start{Saved(Check::Failed, 5000, taken, 0, u"5"_s), failed,
                                                        {u"WitsFailure 1 1"_s},
                                                        u"$100 Taken 1 counted 1/5 mark 0"_s} << closed;

        // The denominator: below 6 (no number counts as 0) is refused and 300 used.
        QTest::newRow("denominator 6") << Start{Saved(Check::Passed, 100, {}, 0, u"6"_s), played, {},
                                                u"$100 None 0 kept 1/6 mark 1"_s, 6, u"6"_s} << closed;
        QTest::newRow("denominator 5") << Start{Saved(Check::Passed, 100, {}, 0, u"5"_s), played,
                                                {u"DenominatorRefused"_s}, u"$100 None 0 kept 1/300 mark 1"_s, 300,
                                                u"300"_s} << closed;
        QTest::newRow("denominator no number") << Start{Saved(Check::Passed, 100, {}, 0, u"abc"_s), played,
                                                        {u"DenominatorRefused"_s},
                                                        u"$100 None 0 kept 1/300 mark 1"_s, 300, u"300"_s} << closed;
        QTest::newRow("denominator 5.9") << Start{Saved(Check::Passed, 100, {}, 0, u"5.9"_s), played,
                                                  {u"DenominatorRefused"_s}, u"$100 None 0 kept 1/300 mark 1"_s, 300,
                                                  u"300"_s} << closed;
        // Any other is the whole number the lottery Int(D × Rnd) + 1 draws
        // up to, held at 2^53: shown, used and saved as such. Plain decimal
        // text stays as it was written.
        const QString largest = u"9007199254740992"_s;
        auto inForce = [played](const QString& written, const QString& whole) {
            return Start{Saved(Check::Passed, 100, {}, 0, written), played, {},
                         u"$100 None 0 kept 1/"_s + whole + u" mark 1"_s, whole.toDouble(), whole};
        };
        QTest::newRow("denominator 300 kept") << inForce(u"300"_s, u"300"_s) << closed;
        QTest::newRow("denominator 6.4 draws up to 7") << inForce(u"6.4"_s, u"7"_s) << closed;
        QTest::newRow("denominator 300.0") << inForce(u"300.0"_s, u"300"_s) << closed;
        QTest::newRow("denominator with a blank and a zero") << inForce(u" 0300"_s, u"300"_s) << closed;
        QTest::newRow("denominator 5000.5 and words") << inForce(u"5000.5 dollars"_s, u"5001"_s) << closed;
        QTest::newRow("denominator 2^53") << inForce(largest, largest) << closed;
        QTest::newRow("denominator 2^53 + 2") << inForce(u"9007199254740994"_s, largest) << closed;
        QTest::newRow("denominator thirty digits") << inForce(u"123456789012345678901234567890"_s, largest) << closed;
        QTest::newRow("denominator 1e308") << inForce(u"1e308"_s, largest) << closed;
        // Too large for a number at all: no number, so refused.
        QTest::newRow("denominator 1e999") << Start{Saved(Check::Passed, 100, {}, 0, u"1e999"_s), played,
                                                    {u"DenominatorRefused"_s}, u"$100 None 0 kept 1/300 mark 1"_s,
                                                    300, u"300"_s} << closed;
        QTest::newRow("first start, denominator 5")
            << Start{Saved(Check::FirstStart, 0, {}, 0, u"5"_s), played, {u"Welcome"_s, u"DenominatorRefused"_s},
                     u"$100 None 0 kept 1/300 mark 1"_s, 300, u"300"_s} << closed;

        // The reward: the check passed on the save after a failed one, in
        // the battle, with money other than $100. It ends the battle.
        QTest::newRow("rewarded") << Start{Saved(Check::Passed, 5000, taken, 4, {}, true), played,
                                           {u"CheckPassed"_s}, u"$5000 None 0 cleared 1/- mark 1"_s, 300, u"300"_s}
                                  << closed;
        QTest::newRow("rewarded in the consolation, after the refusal")
            << Start{Saved(Check::Passed, 5000, consoled, 12, u"2"_s, true), played,
                     {u"DenominatorRefused"_s, u"CheckPassed"_s}, u"$5000 None 0 cleared 1/300 mark 1"_s, 300,
                     u"300"_s} << closed;
        QTest::newRow("ordinary save") << Start{Saved(Check::Passed, 5000, taken, 4), played, {},
                                                u"$5000 Taken 4 kept 1/- mark 1"_s, 300, u"300"_s} << closed;
        QTest::newRow("money left at 100") << Start{Saved(Check::Passed, 100, taken, 4, {}, true), played, {},
                                                    u"$100 Taken 4 kept 1/- mark 1"_s, 300, u"300"_s} << closed;
        QTest::newRow("no battle") << Start{Saved(Check::Passed, 5000, {}, 4, {}, true), played, {},
                                            u"$5000 None 4 kept 1/- mark 1"_s, 300, u"300"_s} << closed;
        // The greeting's $100 comes first: a player greeted is never rewarded.
        QTest::newRow("greeted, not rewarded")
            << Start{notEverSaved(Saved(Check::Passed, 5000, taken, 4, {}, true)), played, {u"Welcome"_s},
                     u"$100 Taken 4 kept 1/- mark 1"_s, 300, u"300"_s} << closed;
    }
    void rules()
    {
        QFETCH(Start, c);
        QFETCH(WitsChoice, answer);
        Seams seams;
        seams.prompts.witsAnswers = {answer};
        SavedState saved = c.saved;
        QCOMPARE(game::RunStartUp(saved), c.outcome);
        QCOMPARE(seams.prompts.shown, c.shown);
        QCOMPARE(Summary(saved), c.after);
        QCOMPARE(seams.rnd.draws(), 0);
        if (c.outcome != StartOutcome::Play)
            return;
        // A greeted start plays sound, as its unchecked "no sound" item says;
        // any other keeps the switch its file holds.
        QCOMPARE(saved.sound, c.saved.everSaved ? c.saved.sound : game::SoundSwitch::On);
        QCOMPARE(game::DenominatorInForce(saved), c.inForce);
        seams.prompts.shown.clear();
        game::TellCurrentProbability(saved);
        QCOMPARE(seams.prompts.shown, QStringList{u"CurrentProbability "_s + c.named});
    }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "test_startup.moc"
