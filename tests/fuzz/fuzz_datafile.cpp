// SPDX-License-Identifier: MIT
// libFuzzer target: the data-file decoder and the settings-file decoder on
// arbitrary bytes. Either decodes or throws a RuntimeError with a known number.
#include "storage/DataFile.h"
#include "storage/RuntimeError.h"
#include "storage/Settings.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const storage::DataCopy copy = storage::DecodeDataRecord(bytes.left(storage::DataRecordLength));
        // Whatever decodes must survive a save and load unchanged while it fits.
        if (copy.money.size() < 10 && (copy.mark == 0 || copy.mark == 1)) {
            bool plain = true;
            for (QChar c : copy.money)
                plain = plain && c.unicode() <= 95;
            if (plain) {
                const storage::DataCopy again = storage::DecodeDataRecord(storage::EncodeDataRecord(
                    storage::EncodeDataString(copy.money, int(copy.mark), [] { return 0.5; })));
                if (again.money != copy.money || again.mark != copy.mark)
                    std::abort();
            }
        }
    } catch (const storage::RuntimeError& error) {
        if (error.number() != storage::ErrInvalidArgument && error.number() != storage::ErrBadRecordLength)
            std::abort();
    }
    try {
        // Whatever was read is written back the same way every time.
        const QByteArray written = storage::EncodeSettings(storage::DecodeSettings(bytes));
        if (storage::EncodeSettings(storage::DecodeSettings(written)) != written)
            std::abort();
    } catch (const storage::RuntimeError& error) {
        // Too few lines, or a used line that is no text.
        if (error.number() != storage::ErrInputPastEnd && error.number() != storage::ErrInvalidArgument)
            std::abort();
    }
    return 0;
}
