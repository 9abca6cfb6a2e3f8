// SPDX-License-Identifier: MIT
// Hand-made settings and data files for the tests of loading and saving.
// Built byte by byte here, independently of the game's own encoders.
#pragma once

#include "storage/SavedGame.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>
#include <QStringConverter>
#include <QStringList>

namespace testing {

// 30 lines, CR LF, Shift-JIS; lines not given are empty.
inline QByteArray SettingsBytes(const QMap<int, QString>& lines, int count = 30)
{
    QStringEncoder sjis("Shift_JIS");
    QByteArray bytes;
    for (int n = 1; n <= count; ++n)
        bytes += sjis(lines.value(n)) + "\r\n";
    return bytes;
}

// A settings file as a save leaves it, with the money in line 2.
inline QByteArray SavedSettings(const QString& money, QMap<int, QString> lines = {})
{
    if (!lines.contains(1))
        lines[1] = QStringLiteral("/opt/zelmor/");
    lines[2] = money;
    lines[4] = QString::number(money.size());
    return SettingsBytes(lines);
}

// Record 1 of the data file: prefix 101, length marker, disguised money,
// filler, mark; padded to 200 bytes.
inline QByteArray DataBytes(const QByteArray& money, char mark = 'q', char filler = 'A')
{
    QByteArray s;
    s += char(QByteArray::number(money.size()).at(0) + 48);
    for (char c : money)
        s += char(quint8(c) + 160);
    while (s.size() < 100)
        s += filler;
    s += mark;
    QByteArray record;
    record += char(s.size() & 0xFF);
    record += char(s.size() >> 8);
    record += s;
    record += QByteArray(200 - record.size(), '\0');
    return record;
}

inline void SetModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(time, QFileDevice::FileModificationTime);
}

// The lines of a settings file as text (CR LF line ends, Shift-JIS).
inline QStringList SettingsLinesOf(const QByteArray& bytes)
{
    QStringDecoder sjis("Shift_JIS");
    QString text = sjis(bytes);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// What a save did: "saved", or the problem and the path it names relative
// to `dir`, such as "InTheWay Zelmor.ini" or "DiskFull .".
inline QString SaveSummary(const storage::SavedGame::SaveOutcome& outcome, const QString& dir)
{
    if (outcome.saved)
        return QStringLiteral("saved");
    static const char* const problems[] = {"HeldByAnotherProgram", "DiskFull", "NotWritable",
                                           "InTheWay",             "Unfinished", "Other"};
    return QLatin1String(problems[int(outcome.problem)]) + QLatin1Char(' ') + QDir(dir).relativeFilePath(outcome.path);
}

} // namespace testing
