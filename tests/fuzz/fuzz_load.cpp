// SPDX-License-Identifier: MIT
// libFuzzer target: loading a pair of files from disk. The input is split into
// a control byte, the settings file and the data file; the control byte says
// which files exist and how far apart their times are. Every input must end
// in a first start, a pass, a failed check or a fatal error with its number.
#include "storage/FileAccess.h"
#include "storage/LoadCheck.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString WorkDir()
{
    static const QString dir = [] {
        // A memory file system keeps the many small writes and syncs fast.
        QByteArray pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/zelmor-fuzz-XXXXXX" : "/tmp/zelmor-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        if (!made)
            std::abort();
        return QString::fromLocal8Bit(made);
    }();
    return dir;
}

void Place(const QString& path, bool present, const QByteArray& bytes, const QDateTime& time)
{
    QFile::remove(path);
    if (!present)
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write(bytes);
    file.setFileTime(time, QFileDevice::FileModificationTime);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint8_t control = data[0];
    const size_t split = std::min<size_t>(size - 3, (size_t(data[1]) << 8 | data[2]));
    const QByteArray settings(reinterpret_cast<const char*>(data + 3), qsizetype(split));
    const QByteArray record(reinterpret_cast<const char*>(data + 3 + split), qsizetype(size - 3 - split));

    const QString ini = WorkDir() + QStringLiteral("/Zelmor.ini");
    const QString bin = WorkDir() + QStringLiteral("/Zelmor.bin");
    const QDateTime t(QDate(2024, 1, 1), QTime(23, 59, 30));
    Place(ini, !(control & 1), settings, t);
    Place(bin, !(control & 2), record, t.addSecs((control >> 2) - 32));
    // Leftovers of an interrupted save take part too.
    Place(storage::PendingPath(bin), control & 0x80, record, t);

    const storage::LoadOutcome outcome = storage::LoadFiles(ini, bin);
    switch (outcome.kind) {
    case storage::LoadOutcome::FirstStart:
    case storage::LoadOutcome::Passed:
        break;
    case storage::LoadOutcome::Failed:
        if (outcome.failureCase < 1 || outcome.failureCase > 5)
            std::abort();
        break;
    case storage::LoadOutcome::Fatal:
        if (outcome.errorNumber != 5 && outcome.errorNumber != 59 && outcome.errorNumber != 62)
            std::abort();
        break;
    default:
        std::abort();
    }
    return 0;
}
