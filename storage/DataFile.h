// SPDX-License-Identifier: MIT
// The data file "Zelmor.bin": one 200-byte record holding a disguised copy of
// the money and a one-character mark. Pure conversions; no file access.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace storage {

inline constexpr int DataRecordLength = 200;
// The string stored in the record: length marker, money, filler up to 100, mark.
inline constexpr int DataStringLength = 101;

// Builds the data-file string from the money text and the data mark. Each
// filler byte is Int(random() * 255). Throws RuntimeError 5 when a character
// of the money text cannot be disguised in one byte.
QByteArray EncodeDataString(const QString& money, int dataMark, const std::function<double()>& random);

// Puts the string into record 1: 2-byte little-endian length, the string, and
// zero bytes up to the record length. Throws RuntimeError 59 (bad record
// length) when the string does not fit.
QByteArray EncodeDataRecord(const QByteArray& string);

struct DataCopy {
    QString money;     // the money copy
    double mark = 0;   // the data mark as read back
};

// Decodes record 1 as read from the file (the file's first bytes, at most one
// record). A file too short to hold the length prefix holds an empty string.
// Throws RuntimeError 5 when the record is shorter than its length prefix
// says or a byte the decoding needs is below its offset, and RuntimeError 59
// when the length prefix exceeds the record.
DataCopy DecodeDataRecord(const QByteArray& record);

} // namespace storage
