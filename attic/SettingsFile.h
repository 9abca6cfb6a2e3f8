// The settings file "Zelmor.ini": 30 lines of Shift-JIS text, each ended by CR LF.
// Pure conversions between the file's bytes and the 30 values; no file access.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace storage {

inline constexpr int SettingsLineCount = 30;

// Settings line N in slot N (1..30); slot 0 is never used.
using SettingsLines = std::array<QString, SettingsLineCount + 1>;

// Reads lines 1 to 30 from the file's bytes. A line ends at CR LF, CR or LF;
// anything after the 30th line is ignored. Throws RuntimeError 62 (input past
// end of file) when the bytes hold fewer than 30 lines. Bytes that are not
// valid Shift-JIS decode to replacement characters.
SettingsLines DecodeSettings(const QByteArray& bytes);

// Writes lines 1 to 30 as they stand, each followed by CR LF, in Shift-JIS.
QByteArray EncodeSettings(const SettingsLines& lines);

} // namespace storage
