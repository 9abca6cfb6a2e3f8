// SPDX-License-Identifier: MIT
#include "storage/DataFile.h"

#include "platform/Runtime.h"
#include "storage/RuntimeError.h"

namespace storage {
namespace {

constexpr int LengthOffset = 48; // length marker: first digit of the length
constexpr int MoneyOffset = 160; // each money character
constexpr int MarkOffset = 64;   // the data mark
constexpr int FilledLength = 100;

char Disguise(QChar c, int offset)
{
    const int code = c.unicode() + offset;
    if (code > 255)
        throw RuntimeError(ErrInvalidArgument);
    return char(code);
}

// The character `byte - offset`; a byte below its offset cannot be decoded.
QChar Reveal(const QByteArray& string, qsizetype index, int offset)
{
    if (index >= string.size())
        throw RuntimeError(ErrInvalidArgument);
    const int code = int(quint8(string[index])) - offset;
    if (code < 0)
        throw RuntimeError(ErrInvalidArgument);
    return QChar(char16_t(code));
}

} // namespace

QByteArray EncodeDataString(const QString& money, int dataMark, const std::function<double()>& random)
{
    QByteArray string;
    string += Disguise(QString::number(money.size()).front(), LengthOffset);
    for (QChar c : money)
        string += Disguise(c, MoneyOffset);
    while (string.size() < FilledLength)
        string += char(int(rt::Int(random() * 255)));
    string += Disguise(QString::number(dataMark).front(), MarkOffset);
    return string;
}

QByteArray EncodeDataRecord(const QByteArray& string)
{
    if (string.size() + 2 > DataRecordLength)
        throw RuntimeError(ErrBadRecordLength);
    QByteArray record(DataRecordLength, '\0');
    record[0] = char(string.size() & 0xFF);
    record[1] = char((string.size() >> 8) & 0xFF);
    record.replace(2, string.size(), string);
    return record;
}

DataCopy DecodeDataRecord(const QByteArray& record)
{
    QByteArray string;
    if (record.size() >= 2) {
        const int length = int(quint8(record[0])) | (int(quint8(record[1])) << 8);
        if (length + 2 > DataRecordLength)
            throw RuntimeError(ErrBadRecordLength);
        // A record cut short cannot hold the text its prefix announces.
        if (record.size() < length + 2)
            throw RuntimeError(ErrInvalidArgument);
        string = record.mid(2, length);
    }
    DataCopy copy;
    const int moneyLength = int(rt::Val(QString(Reveal(string, 0, LengthOffset))));
    for (int i = 1; i <= moneyLength; ++i)
        copy.money += Reveal(string, i, MoneyOffset);
    if (string.isEmpty())
        throw RuntimeError(ErrInvalidArgument);
    copy.mark = rt::Val(QString(Reveal(string, string.size() - 1, MarkOffset)));
    return copy;
}

} // namespace storage
