// SPDX-License-Identifier: MIT
#include "storage/LoadCheck.h"

#include "storage/DataFile.h"
#include "storage/FileAccess.h"
#include "storage/RuntimeError.h"

#include <QDateTime>

namespace storage {
namespace {

// 30 lines of settings, a long directory in line 1 included, come nowhere
// near this. A bigger file is no settings file but damage (RuntimeError 5),
// and is not read beyond it.
constexpr qint64 MaxSettingsBytes = 64 * 1024;

Settings ReadSettingsFile(const QString& path)
{
    const QByteArray bytes = ReadHead(path, MaxSettingsBytes + 1);
    if (bytes.size() > MaxSettingsBytes)
        throw RuntimeError(ErrInvalidArgument);
    return DecodeSettings(bytes);
}

} // namespace

LoadOutcome LoadFiles(const QString& settingsPath, const QString& dataPath)
{
    LoadOutcome out;
    // The file of the step under way, which a fatal error names.
    QString file = dataPath; // completing an interrupted save renames the data file
    // A missing file only raises the flag and loading goes on with the next step.
    auto trap = [&out, &file](const QString& stepFile, auto&& step) {
        file = stepFile;
        try {
            step();
        } catch (const RuntimeError& error) {
            if (error.number() != ErrFileNotFound)
                throw;
            out.fileMissing = true;
        }
    };
    auto fail = [&out](int failureCase) {
        out.kind = LoadOutcome::Failed;
        out.failureCase = failureCase;
        return out;
    };
    try {
        RecoverInterruptedSave(settingsPath, dataPath);
        trap(settingsPath, [&] { ProbeFile(settingsPath); });
        if (out.fileMissing) {
            out.kind = LoadOutcome::FirstStart;
            return out;
        }
        trap(settingsPath, [&] {
            out.settings = ReadSettingsFile(settingsPath);
            out.settingsRead = true;
        });
        trap(dataPath, [&] { ProbeFile(dataPath); });
        if (out.fileMissing)
            return fail(1);
        QByteArray record;
        bool recordRead = false;
        trap(dataPath, [&] {
            record = ReadHead(dataPath, DataRecordLength);
            recordRead = true;
        });
        QString moneyCopy;
        if (recordRead) {
            const DataCopy copy = DecodeDataRecord(record);
            moneyCopy = copy.money;
            out.loadedMark = copy.mark;
            out.markRead = true;
        }
        if (out.fileMissing || moneyCopy != out.settings.money)
            return fail(2);
        QDateTime settingsTime, dataTime;
        trap(settingsPath, [&] { settingsTime = ModifiedTime(settingsPath); });
        trap(dataPath, [&] { dataTime = ModifiedTime(dataPath); });
        if (out.fileMissing)
            return fail(5);
        // Real seconds: files written by one save across a change of minute,
        // hour or day still count as written together.
        if (qAbs(settingsTime.secsTo(dataTime)) > MaxSecondsApart)
            return fail(settingsTime <= dataTime ? 3 : 4);
        out.kind = LoadOutcome::Passed;
    } catch (const RuntimeError& error) {
        out.kind = LoadOutcome::Fatal;
        out.errorNumber = error.number();
        out.errorPath = file;
    }
    return out;
}

} // namespace storage
