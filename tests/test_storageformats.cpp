// SPDX-License-Identifier: MIT
// The settings and data file formats, byte for byte, and what loading makes of
// hand-made bad files.
#include "platform/Runtime.h"
#include "storage/DataFile.h"
#include "storage/FileAccess.h"
#include "storage/LoadCheck.h"
#include "storage/RuntimeError.h"
#include "storage/Settings.h"
#include "tests/support/Rig.h"
#include "tests/support/SaveFiles.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <random>
#include <unistd.h>

using namespace testing;
using storage::LoadOutcome;

namespace {

int ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const storage::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

// Bytes from a fixed seed.
QByteArray RandomBytes(int count)
{
    std::mt19937 engine(20);
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(engine() & 0xFF);
    return bytes;
}

std::function<double()> Constant(double value)
{
    return [value] { return value; };
}

} // namespace

class TestStorageFormats : public QObject {
    Q_OBJECT
private slots:
    void moneyHundredEncodesExactly()
    {
        int draws = 0;
        const QByteArray string = storage::EncodeDataString(QStringLiteral("100"), 1, [&] {
            ++draws;
            return pick(200, 255);
        });
        QCOMPARE(draws, 96);
        QCOMPARE(string.size(), 101);
        QCOMPARE(string.left(4), QByteArray("c\xD1\xD0\xD0"));
        QCOMPARE(string.mid(4, 96), QByteArray(96, char(200)));
        QCOMPARE(string.back(), 'q');
        const QByteArray record = storage::EncodeDataRecord(string);
        QCOMPARE(record.size(), 200);
        QCOMPARE(record.left(2), QByteArray("\x65\x00", 2));
        QCOMPARE(record.mid(2, 101), string);
        QCOMPARE(record, DataBytes("100", 'q', char(200)));
    }

    void fillerBytesStayBelow255()
    {
        const QByteArray string = storage::EncodeDataString(QStringLiteral("7"), 0, Constant(0.999999));
        QCOMPARE(quint8(string[5]), quint8(254));
        QCOMPARE(string.back(), 'p');
        QCOMPARE(storage::EncodeDataString(QStringLiteral("7"), 0, Constant(0.0))[5], '\0');
    }

    void emptyMoneyEncodesAndDecodes()
    {
        const QByteArray string = storage::EncodeDataString(QString(), 1, Constant(0.5));
        QCOMPARE(string.size(), 101);
        QCOMPARE(quint8(string[0]), quint8(0x60));
        QCOMPARE(string.mid(1, 99), QByteArray(99, char(127)));
        QCOMPARE(string.back(), 'q');
        const storage::DataCopy copy = storage::DecodeDataRecord(storage::EncodeDataRecord(string));
        QCOMPARE(copy.money, QString());
        QCOMPARE(copy.mark, 1.0);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<int>("mark");
        QTest::newRow("100, 1") << QStringLiteral("100") << 1;
        QTest::newRow("0, 0") << QStringLiteral("0") << 0;
        QTest::newRow("nine digits") << QStringLiteral("999999999") << 1;
        QTest::newRow("negative") << QStringLiteral("-20") << 1;
    }
    void roundTrip()
    {
        QFETCH(QString, money);
        QFETCH(int, mark);
        for (double r : {0.0, 0.3, 0.999}) {
            const storage::DataCopy copy = storage::DecodeDataRecord(
                storage::EncodeDataRecord(storage::EncodeDataString(money, mark, Constant(r))));
            QCOMPARE(copy.money, money);
            QCOMPARE(copy.mark, double(mark));
        }
    }

    // Ten digits keep only the first digit of their length: such a copy no
    // longer matches, and the check fails rather than the program.
    void tenDigitMoneyKeepsFirstDigitOfLength()
    {
        const storage::DataCopy copy = storage::DecodeDataRecord(storage::EncodeDataRecord(
            storage::EncodeDataString(QStringLiteral("1234567890"), 1, Constant(0.1))));
        QCOMPARE(copy.money, QStringLiteral("1"));
    }

    void moneyThatDoesNotFitIsAnError()
    {
        const QString huge(300, u'9');
        QCOMPARE(ErrorOf([&] { storage::EncodeDataRecord(storage::EncodeDataString(huge, 1, Constant(0))); }),
                 int(storage::ErrBadRecordLength));
        QCOMPARE(ErrorOf([] { storage::EncodeDataString(QStringLiteral("1あ"), 1, Constant(0)); }),
                 int(storage::ErrInvalidArgument));
    }

    void undecodableRecords_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("error");
        QByteArray belowMark = DataBytes("100");
        belowMark[102] = '?'; // 63 is below the mark's offset of 64
        QByteArray belowMoney = DataBytes("100");
        belowMoney[4] = '9';
        QByteArray belowLength = DataBytes("100");
        belowLength[2] = '/';
        QByteArray shortString("\x03\x00" "c\xD1", 4); // money needs 3 bytes, 1 is there
        QByteArray overlong = DataBytes("100");
        overlong[0] = char(199);
        QTest::newRow("0 bytes") << QByteArray() << 5;
        QTest::newRow("1 byte") << QByteArray("e") << 5;
        QTest::newRow("length 0") << QByteArray(200, '\0') << 5;
        QTest::newRow("mark byte below 64") << belowMark << 5;
        QTest::newRow("money byte below 160") << belowMoney << 5;
        QTest::newRow("length byte below 48") << belowLength << 5;
        QTest::newRow("money cut short") << shortString << 5;
        QTest::newRow("length beyond the record") << overlong << 59;
        QTest::newRow("length 65535") << QByteArray("\xFF\xFF" "abc") << 59;
    }
    void undecodableRecords()
    {
        QFETCH(QByteArray, record);
        QFETCH(int, error);
        QCOMPARE(ErrorOf([&] { storage::DecodeDataRecord(record); }), error);
    }

    void oddButDecodableRecords()
    {
        // A length marker that is not a digit counts as length 0.
        QByteArray noDigit = DataBytes("");
        noDigit[2] = char('x' + 48 - 48 + 10); // 'x' + 10 - 48 → a letter
        QCOMPARE(storage::DecodeDataRecord(noDigit).money, QString());
        // A mark that is not a digit reads as 0; only the last byte counts.
        QCOMPARE(storage::DecodeDataRecord(QByteArray("\x02\x00" "`A", 4)).mark, 0.0);
        QCOMPARE(storage::DecodeDataRecord(QByteArray("\x02\x00" "`q", 4)).mark, 1.0);
        // Bytes past the string and past the record are never read.
        QByteArray longFile = DataBytes("100") + QByteArray(1 << 20, '\xFF');
        QCOMPARE(storage::DecodeDataRecord(longFile.left(200)).money, QStringLiteral("100"));
    }

    void settingsEncodeShiftJisWithCrLf()
    {
        storage::Settings settings;
        settings.savedDirectory = QStringLiteral("/opt/zelmor/");
        settings.money = QStringLiteral("100");
        settings.battleStatus = QStringLiteral("絶対解除する");
        settings.denominator = QStringLiteral("300");
        const QByteArray bytes = storage::EncodeSettings(settings);
        QCOMPARE(bytes.count("\r\n"), 30);
        QVERIFY(bytes.startsWith("/opt/zelmor/\r\n100\r\n\r\n\r\n\x90\xE2\x91\xCE\x89\xF0\x8F\x9C\x82\xB7\x82\xE9\r\n"));
        QVERIFY(bytes.endsWith("\r\n\r\n300\r\n"));
        QCOMPARE(storage::EncodeSettings(storage::DecodeSettings(bytes)), bytes);
    }

    // Every line comes back byte for byte through a load and a save: the used
    // ones hold any character Shift-JIS can, the unused ones any bytes at all.
    void settingsRoundTripByteForByte()
    {
        QMap<int, QString> lines;
        lines[1] = QStringLiteral("/home/プレイヤー/ゼルモア/");
        lines[3] = QStringLiteral("x");
        lines[5] = QStringLiteral("あなたは残念賞と認定されました。");
        lines[6] = QStringLiteral("12");
        lines[28] = QStringLiteral("1");
        lines[29] = QStringLiteral("ChosenGuest");
        lines[30] = QStringLiteral("6.5");
        for (int n = 7; n <= 27; ++n)
            lines[n] = QStringLiteral("行%1 ｶﾀｶﾅ ①Ⅱ㈱ 漢字").arg(n);
        QByteArray bytes = SettingsBytes(lines);
        // Bytes that are no Shift-JIS at all in two unused lines.
        bytes.replace(QByteArray("\x8d\x73" "8 "), QByteArray("\x81\xFF\xA0\xFD\x82\x7F "));
        bytes.replace(QByteArray("\x8d\x73" "20 "), QByteArray("\xFF\xFE\x80 "));
        const storage::Settings settings = storage::DecodeSettings(bytes);
        QCOMPARE(storage::EncodeSettings(settings), bytes);
        QCOMPARE(settings.sound(), game::SoundSwitch::Unset);
        QVERIFY(settings.unlocked());
    }

    // The settings code skips the Shift-JIS converter for printable ASCII. For
    // every byte and every two-byte sequence a used line can hold, and for
    // every character of the Basic Multilingual Plane, the bytes and texts
    // must be exactly those of the converter; what it cannot read is error 5.
    void settingsTextAsTheConverterHasIt()
    {
        auto loadedLine = [](const QByteArray& bytes) {
            return storage::DecodeSettings(bytes + QByteArray("\r\n").repeated(30)).savedDirectory;
        };
        int mismatches = 0;
        for (int lead = 0; lead < 256; ++lead) {
            if (lead == '\r' || lead == '\n')
                continue;
            QList<QByteArray> sequences{QByteArray(1, char(lead))};
            for (int trail = 0x40; trail <= 0xFC && lead >= 0x80; ++trail)
                sequences << QByteArray(1, char(lead)) + char(trail);
            for (const QByteArray& bytes : sequences) {
                const QByteArray line = "ab" + bytes + "cd";
                QStringDecoder decoder("Shift_JIS");
                const QString text = decoder(line);
                // What the converter cannot read, and control characters, are no text.
                const bool noText = decoder.hasError()
                    || std::any_of(text.begin(), text.end(), [](QChar c) { return c < u' ' && c != u'\t'; })
                    || text.contains(QChar(0x7F));
                if (noText)
                    mismatches += ErrorOf([&] { loadedLine(line); }) != int(storage::ErrInvalidArgument);
                else
                    mismatches += loadedLine(line) != text;
            }
        }
        QCOMPARE(mismatches, 0);
        storage::Settings settings;
        for (char32_t c = 1; c < 0x10000; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) || c == u'\r' || c == u'\n')
                continue;
            settings.money = QStringLiteral("a") + QChar(char16_t(c));
            QStringEncoder encoder("Shift_JIS");
            const QByteArray expected = encoder(settings.money);
            mismatches += storage::EncodeSettings(settings).split('\n').value(1).chopped(1) != expected;
        }
        QCOMPARE(mismatches, 0);
    }

    // The typed values of the lines, and what writing them back changes.
    void settingsNamedValues_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::addColumn<int>("sound");
        QTest::addColumn<QString>("line28");
        QTest::addColumn<QString>("line29");
        QTest::addColumn<bool>("unlocked");
        QTest::addColumn<QString>("line5");
        QTest::addColumn<int>("wits");
        QTest::newRow("first start") << "" << int(game::SoundSwitch::Unset) << "" << "" << false << ""
                                     << int(game::WitsStatus::None);
        QTest::newRow("sound on, unlocked, battle taken")
            << "0" << int(game::SoundSwitch::On) << "1" << "ChosenGuest" << true << "絶対解除する"
            << int(game::WitsStatus::Taken);
        QTest::newRow("no sound, half unlocked, consoled")
            << "1" << int(game::SoundSwitch::Off) << "1" << "Guest" << false << "あなたは残念賞と認定されました。"
            << int(game::WitsStatus::Consolation);
        QTest::newRow("other texts") << " 0" << int(game::SoundSwitch::Unset) << "" << "ChosenGuest" << false
                                     << "あなたは　残念賞　と認定されました。" << int(game::WitsStatus::Taken);
    }
    void settingsNamedValues()
    {
        QFETCH(QString, line3);
        QFETCH(int, sound);
        QFETCH(QString, line28);
        QFETCH(QString, line29);
        QFETCH(bool, unlocked);
        QFETCH(QString, line5);
        QFETCH(int, wits);
        storage::Settings settings =
            storage::DecodeSettings(SettingsBytes({{3, line3}, {5, line5}, {28, line28}, {29, line29}}));
        QCOMPARE(int(settings.sound()), sound);
        QCOMPARE(settings.unlocked(), unlocked);
        QCOMPARE(int(settings.wits()), wits);
        // Unset keeps whatever text the line held; On and Off write 0 and 1.
        settings.setSound(game::SoundSwitch::Unset);
        QCOMPARE(settings.soundSwitch, line3);
        settings.setSound(game::SoundSwitch::Off);
        QCOMPARE(settings.soundSwitch, QStringLiteral("1"));
        settings.unlock();
        QCOMPARE(settings.unlockFlag + settings.unlockStatus, QStringLiteral("1ChosenGuest"));
        settings.setWits(game::WitsStatus(wits));
        QCOMPARE(int(settings.wits()), wits);
    }

    // The money in whole dollars, rounded once, half to even, and held
    // between 0 and fifteen digits; written back as decimal text with its length.
    void settingsMoney_data()
    {
        QTest::addColumn<QString>("line2");
        QTest::addColumn<qint64>("dollars");
        QTest::newRow("whole") << "5000" << qint64(5000);
        QTest::newRow("half to even, down") << "10.5" << qint64(10);
        QTest::newRow("half to even, up") << "11.5" << qint64(12);
        QTest::newRow("no number") << "abc" << qint64(0);
        QTest::newRow("beyond fifteen digits") << "1e308" << qint64(999999999999999);
        // Below zero the game could go on with neither a cover nor a loan.
        QTest::newRow("negative") << "-500" << qint64(0);
        QTest::newRow("far below") << "-1e20" << qint64(0);
    }
    void settingsMoney()
    {
        QFETCH(QString, line2);
        QFETCH(qint64, dollars);
        storage::Settings settings;
        settings.money = line2;
        QCOMPARE(settings.wholeMoney(), dollars);
        settings.setMoney(dollars);
        QCOMPARE(settings.money, QString::number(dollars));
        QCOMPARE(settings.moneyLength, QString::number(QString::number(dollars).size()));
    }

    void settingsLineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("line30");
        const QByteArray thirty = SettingsBytes({{2, QStringLiteral("100")}, {30, QStringLiteral("6")}});
        QTest::newRow("CR LF") << thirty << "100" << "6";
        QTest::newRow("LF only") << QByteArray(thirty).replace("\r\n", "\n") << "100" << "6";
        QTest::newRow("CR only") << QByteArray(thirty).replace("\r\n", "\r") << "100" << "6";
        QTest::newRow("no line end after line 30") << thirty.chopped(2) << "100" << "6";
        QTest::newRow("lines beyond 30 ignored") << thirty + "junk\r\nmore\r\n" << "100" << "6";
        QTest::newRow("blanks kept") << SettingsBytes({{2, QStringLiteral("  100 ")}, {30, QStringLiteral("   ")}})
                                     << "  100 " << "   ";
    }
    void settingsLineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line2);
        QFETCH(QString, line30);
        const storage::Settings settings = storage::DecodeSettings(bytes);
        QCOMPARE(settings.money, line2);
        QCOMPARE(settings.denominator, line30);
    }

    void tooFewSettingsLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("29 lines") << SettingsBytes({}, 29);
        QTest::newRow("one long line") << QByteArray(100000, 'x');
        QTest::newRow("binary without line ends") << QByteArray(5000, '\xFE');
    }
    void tooFewSettingsLines()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(ErrorOf([&] { storage::DecodeSettings(bytes); }), int(storage::ErrInputPastEnd));
    }

    // A line the game uses that holds no text makes the file no settings
    // file (error 5); a hand edit is text, whatever it says.
    void settingsText_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::newRow("broken double-byte pairs") << 1 << QByteArray("/opt\x81\xFF\xA0\xFD\x82") << 5;
        QTest::newRow("a lead byte at the line's end") << 3 << QByteArray("0\x82") << 5;
        QTest::newRow("NUL") << 2 << QByteArray("10\0" "0", 4) << 5;
        QTest::newRow("escape") << 30 << QByteArray("\x1B[6") << 5;
        QTest::newRow("DEL") << 29 << QByteArray("Chosen\x7FGuest") << 5;
        QTest::newRow("a tab") << 2 << QByteArray("100\t") << 0;
        QTest::newRow("Shift-JIS words") << 5 << QByteArray("\x90\xE2\x91\xCE\x89\xF0\x8F\x9C\x82\xB7\x82\xE9") << 0;
        QTest::newRow("no text in an unused line") << 7 << QByteArray("\0\x81\xFF\x1B", 4) << 0;
    }
    void settingsText()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QList<QByteArray> lines = SettingsBytes({}).split('\n');
        lines[line - 1] = bytes + '\r';
        QCOMPARE(ErrorOf([&] { storage::DecodeSettings(lines.join('\n')); }), error);
    }

    // Every kind of damaged pair ends in a first start, a failed check or a
    // fatal error with its number; nothing else.
    void badFilesOnDisk_data()
    {
        QTest::addColumn<QByteArray>("settings"); // "-" for no file, "<dir>" for a directory
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number"); // failure case or error number
        const int first = LoadOutcome::FirstStart, passed = LoadOutcome::Passed, failed = LoadOutcome::Failed,
                  fatal = LoadOutcome::Fatal;
        const QByteArray good = SavedSettings(QStringLiteral("100"));
        const QByteArray data = DataBytes("100");
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("good pair") << good << data << passed << 0;
        QTest::newRow("no files") << QByteArray("-") << QByteArray("-") << first << 0;
        QTest::newRow("no settings, junk data") << QByteArray("-") << junk << first << 0;
        QTest::newRow("no data file") << good << QByteArray("-") << failed << 1;
        QTest::newRow("money edited") << SavedSettings(QStringLiteral("5000")) << data << failed << 2;
        QTest::newRow("money with blank") << SavedSettings(QStringLiteral(" 100")) << data << failed << 2;
        QTest::newRow("huge money") << SavedSettings(QStringLiteral("1e308")) << data << failed << 2;
        QTest::newRow("negative money") << SavedSettings(QStringLiteral("-5")) << data << failed << 2;
        QTest::newRow("fractional money") << SavedSettings(QStringLiteral("10.5")) << data << failed << 2;
        QTest::newRow("blank lines") << SettingsBytes({{2, QStringLiteral("   ")}}) << data << failed << 2;
        QTest::newRow("settings truncated") << good.left(40) << data << fatal << 62;
        QTest::newRow("settings empty") << QByteArray() << data << fatal << 62;
        QTest::newRow("settings junk without line ends") << QByteArray(4096, '\x9F') << data << fatal << 62;
        // A hand edit is a readable settings file with other values: the
        // check fails. Bytes that are no settings file at all are damage,
        // like a damaged data file: error 5, and nothing is written.
        QTest::newRow("settings edited, LF line ends") << QByteArray(SavedSettings(QStringLiteral("5000"))).replace("\r\n", "\n")
                                                       << data << failed << 2;
        QTest::newRow("settings binary junk") << junk << data << fatal << 5;
        QTest::newRow("settings 4 KB of random bytes, 23 lines") << RandomBytes(4096) << data << fatal << 62;
        QTest::newRow("settings 100 MB") << QByteArray("<100 MB>") << data << fatal << 5;
        QTest::newRow("settings invalid Shift-JIS") << QByteArray(good).replace("/opt", "\x81\x7F\xFF\xFC")
                                                    << data << fatal << 5;
        QTest::newRow("settings 64 KB") << good + QByteArray(65536 - good.size(), '\n') << data << passed << 0;
        QTest::newRow("settings 64 KB and a byte") << good + QByteArray(65537 - good.size(), '\n') << data << fatal << 5;
        QTest::newRow("data 0 bytes") << good << QByteArray() << fatal << 5;
        QTest::newRow("data truncated in the money") << good << data.left(4) << fatal << 5;
        QTest::newRow("data truncated in the filler") << good << data.left(60) << fatal << 5;
        QTest::newRow("data truncated after money") << good << data.left(6) << fatal << 5;
        QTest::newRow("data cut before its mark") << good << data.left(102) << fatal << 5;
        QTest::newRow("data ends at its mark") << good << data.left(103) << passed << 0;
        QTest::newRow("data binary junk") << good << junk << fatal << 59;
        QTest::newRow("data 1 MB") << good << data + QByteArray(1 << 20, '\xAB') << passed << 0;
        QTest::newRow("data all 0xFF") << good << QByteArray(300, '\xFF') << fatal << 59;
        QTest::newRow("settings is a directory") << QByteArray("<dir>") << data << fatal << 75;
        QTest::newRow("data is a directory") << good << QByteArray("<dir>") << fatal << 75;
    }
    void badFilesOnDisk()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, data);
        QFETCH(int, kind);
        QFETCH(int, number);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Zelmor.ini"));
        const QString bin = dir.filePath(QStringLiteral("Zelmor.bin"));
        auto place = [](const QString& path, const QByteArray& bytes) {
            if (bytes == "-")
                return;
            if (bytes == "<dir>") {
                QDir().mkdir(path);
                return;
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            // Random bytes, then a hole: 100 MB that take no room.
            if (bytes == "<100 MB>") {
                file.write(RandomBytes(65536));
                QVERIFY(file.resize(100 << 20));
                return;
            }
            file.write(bytes);
        };
        place(ini, settings);
        place(bin, data);
        const LoadOutcome outcome = storage::LoadFiles(ini, bin);
        QCOMPARE(int(outcome.kind), kind);
        if (kind == LoadOutcome::Failed)
            QCOMPARE(outcome.failureCase, number);
        if (kind == LoadOutcome::Fatal)
            QCOMPARE(outcome.errorNumber, number);
    }

    void unreadableFileIsPermissionDenied()
    {
        if (::geteuid() == 0)
            QSKIP("running as root: file permissions do not block reading (the directory case covers it)");
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Zelmor.ini"));
        const QString bin = dir.filePath(QStringLiteral("Zelmor.bin"));
        for (const auto& [path, bytes] : {std::pair{ini, SavedSettings(QStringLiteral("100"))},
                                          std::pair{bin, DataBytes("100")}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        QFile::setPermissions(bin, QFileDevice::Permissions());
        LoadOutcome outcome = storage::LoadFiles(ini, bin);
        QCOMPARE(int(outcome.kind), int(LoadOutcome::Fatal));
        QCOMPARE(outcome.errorNumber, 70);
        QFile::setPermissions(ini, QFileDevice::Permissions());
        outcome = storage::LoadFiles(ini, bin);
        QCOMPARE(outcome.errorNumber, 70);
    }

    void fileTimes_data()
    {
        QTest::addColumn<QDateTime>("settingsTime");
        QTest::addColumn<QDateTime>("dataTime");
        QTest::addColumn<int>("failureCase"); // 0: passes
        const QDateTime t(QDate(2024, 5, 1), QTime(12, 30, 10));
        QTest::newRow("same second") << t << t << 0;
        QTest::newRow("49 s later") << t << t.addSecs(49) << 0;
        QTest::newRow("exactly 50 s") << t << t.addSecs(50) << 0;
        QTest::newRow("51 s later") << t << t.addSecs(51) << 3;
        QTest::newRow("data 51 s older") << t << t.addSecs(-51) << 4;
        QTest::newRow("data 50 s older") << t << t.addSecs(-50) << 0;
        QTest::newRow("across a minute") << t << QDateTime(QDate(2024, 5, 1), QTime(12, 31, 0)) << 0;
        QTest::newRow("across an hour") << QDateTime(QDate(2024, 5, 1), QTime(12, 59, 59))
                                        << QDateTime(QDate(2024, 5, 1), QTime(13, 0, 1)) << 0;
        QTest::newRow("across midnight") << QDateTime(QDate(2024, 5, 31), QTime(23, 59, 50))
                                         << QDateTime(QDate(2024, 6, 1), QTime(0, 0, 5)) << 0;
        QTest::newRow("a year apart") << t << t.addYears(1) << 3;
    }
    void fileTimes()
    {
        QFETCH(QDateTime, settingsTime);
        QFETCH(QDateTime, dataTime);
        QFETCH(int, failureCase);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Zelmor.ini"));
        const QString bin = dir.filePath(QStringLiteral("Zelmor.bin"));
        for (const auto& [path, bytes] : {std::pair{ini, SavedSettings(QStringLiteral("100"))},
                                          std::pair{bin, DataBytes("100")}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        SetModified(ini, settingsTime);
        SetModified(bin, dataTime);
        const LoadOutcome outcome = storage::LoadFiles(ini, bin);
        QCOMPARE(int(outcome.kind), failureCase ? int(LoadOutcome::Failed) : int(LoadOutcome::Passed));
        QCOMPARE(outcome.failureCase, failureCase);
    }
};

QTEST_GUILESS_MAIN(TestStorageFormats)
#include "test_storageformats.moc"
