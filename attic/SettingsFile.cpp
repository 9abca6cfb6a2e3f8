#include "storage/SettingsFile.h"

#include "storage/RuntimeError.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace storage {

SettingsLines DecodeSettings(const QByteArray& bytes)
{
    SettingsLines lines;
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    for (int n = 1; n <= SettingsLineCount; ++n) {
        // A last line without its line end still counts; an empty rest does not.
        if (start >= size)
            throw RuntimeError(ErrInputPastEnd);
        qsizetype end = start;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        QStringDecoder decoder("Shift_JIS");
        lines[n] = decoder(QByteArrayView(bytes).sliced(start, end - start));
        start = end;
        if (start < size && bytes[start] == '\r')
            ++start;
        if (start < size && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

QByteArray EncodeSettings(const SettingsLines& lines)
{
    QStringEncoder encoder("Shift_JIS");
    QByteArray bytes;
    for (int n = 1; n <= SettingsLineCount; ++n) {
        bytes += encoder(lines[n]);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace storage
