// SPDX-License-Identifier: MIT
#include "storage/Settings.h"

#include "platform/Runtime.h"
#include "storage/RuntimeError.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>

namespace storage {

namespace {

constexpr int LineCount = 30;
constexpr int FirstUnusedLine = 7;

// The lines the game reads and writes, by line number.
QString Settings::*UsedLine(int n)
{
    switch (n) {
    case 1: return &Settings::savedDirectory;
    case 2: return &Settings::money;
    case 3: return &Settings::soundSwitch;
    case 4: return &Settings::moneyLength;
    case 5: return &Settings::battleStatus;
    case 6: return &Settings::failureCount;
    case 28: return &Settings::unlockFlag;
    case 29: return &Settings::unlockStatus;
    case 30: return &Settings::denominator;
    default: return nullptr;
    }
}

// Printable ASCII is the same in Shift-JIS, byte for byte, both ways. The
// settings of ordinary play hold nothing else, so the Shift-JIS converter
// (ICU's, whose tables cost over a megabyte of memory when opened) is only
// opened for a line that holds other text.
bool PrintableAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool PrintableAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; });
}

// Text a hand can type: no control character but the tab.
bool Typeable(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F);
    });
}

// The text of a line the game uses. Bytes that are no Shift-JIS, or control
// characters such as NUL, are no text at all: the file is no settings file
// (RuntimeError 5), whatever put it there.
QString DecodeLine(QByteArrayView line)
{
    if (PrintableAscii(line))
        return QString::fromLatin1(line);
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    const QString text = decoder(line);
    if (decoder.hasError() || !Typeable(text))
        throw RuntimeError(ErrInvalidArgument);
    return text;
}

QByteArray EncodeLine(const QString& text)
{
    if (PrintableAscii(QStringView(text)))
        return text.toLatin1();
    QStringEncoder encoder("Shift_JIS");
    return encoder(text);
}

const QString SoundOnText = QStringLiteral("0");
const QString SoundOffText = QStringLiteral("1");
const QString UnlockFlagText = QStringLiteral("1");
const QString UnlockStatusText = QStringLiteral("ChosenGuest");

// Money beyond fifteen digits cannot come from play.
constexpr double MoneyLimit = 999999999999999.0;

// The first 30 lines of the bytes, without their line ends. Fewer is error 62.
std::array<QByteArrayView, LineCount> SplitLines(const QByteArray& bytes)
{
    std::array<QByteArrayView, LineCount> lines;
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    for (QByteArrayView& line : lines) {
        // A last line without its line end still counts; an empty rest does not.
        if (start >= size)
            throw RuntimeError(ErrInputPastEnd);
        qsizetype end = start;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        line = QByteArrayView(bytes).sliced(start, end - start);
        start = end;
        if (start < size && bytes[start] == '\r')
            ++start;
        if (start < size && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

} // namespace

qint64 Settings::wholeMoney() const
{
    const double value = std::nearbyint(rt::Val(money));
    return qint64(qBound(0.0, value, MoneyLimit));
}

void Settings::setMoney(qint64 dollars)
{
    money = rt::DecimalText(double(dollars));
    moneyLength = QString::number(money.size());
}

game::SoundSwitch Settings::sound() const
{
    if (soundSwitch == SoundOnText)
        return game::SoundSwitch::On;
    if (soundSwitch == SoundOffText)
        return game::SoundSwitch::Off;
    return game::SoundSwitch::Unset;
}

void Settings::setSound(game::SoundSwitch sound)
{
    if (sound == game::SoundSwitch::On)
        soundSwitch = SoundOnText;
    else if (sound == game::SoundSwitch::Off)
        soundSwitch = SoundOffText;
}

bool Settings::unlocked() const
{
    return unlockFlag == UnlockFlagText && unlockStatus == UnlockStatusText;
}

void Settings::unlock()
{
    unlockStatus = UnlockStatusText;
    unlockFlag = UnlockFlagText;
}

game::WitsStatus Settings::wits() const
{
    if (battleStatus.isEmpty())
        return game::WitsStatus::None;
    return battleStatus == Consolation ? game::WitsStatus::Consolation : game::WitsStatus::Taken;
}

void Settings::setWits(game::WitsStatus wits)
{
    switch (wits) {
    case game::WitsStatus::None: battleStatus.clear(); break;
    case game::WitsStatus::Taken: battleStatus = BattleTaken; break;
    case game::WitsStatus::Consolation: battleStatus = Consolation; break;
    }
}

double Settings::failures() const
{
    return rt::Val(failureCount);
}

void Settings::setFailures(double failures)
{
    failureCount = rt::DecimalText(failures);
}

Settings DecodeSettings(const QByteArray& bytes)
{
    // All 30 lines first: a file cut short is error 62 before anything else.
    const std::array<QByteArrayView, LineCount> lines = SplitLines(bytes);
    Settings settings;
    for (int n = 1; n <= LineCount; ++n) {
        const QByteArrayView line = lines[std::size_t(n - 1)];
        if (QString Settings::*field = UsedLine(n))
            settings.*field = DecodeLine(line);
        else
            settings.unusedLines[n - FirstUnusedLine] = line.toByteArray();
    }
    return settings;
}

QByteArray EncodeSettings(const Settings& settings)
{
    QByteArray bytes;
    for (int n = 1; n <= LineCount; ++n) {
        if (QString Settings::*field = UsedLine(n))
            bytes += EncodeLine(settings.*field);
        else
            bytes += settings.unusedLines[n - FirstUnusedLine];
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace storage
