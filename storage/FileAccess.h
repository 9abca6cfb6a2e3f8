// SPDX-License-Identifier: MIT
// Reading and writing the two files on disk, with the system's errors mapped
// to the classic runtime error numbers (see RuntimeError.h) and, for writing,
// to what the player is told.
#pragma once

#include "game/Prompts.h"
#include "storage/RuntimeError.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <utility>

namespace storage {

// A file or directory that could not be written: the runtime error number,
// why, and where. For a full disk, a directory that may not be written or a
// failure of the system, `path` is the directory; for a file in the way or
// held by another program, or a read-only file, the file itself.
class FileError : public RuntimeError {
public:
    FileError(int number, game::SaveProblem problem, QString path) noexcept
        : RuntimeError(number), problem_(problem), path_(std::move(path))
    {
    }
    game::SaveProblem problem() const noexcept { return problem_; }
    const QString& path() const noexcept { return path_; }

private:
    game::SaveProblem problem_;
    QString path_;
};

// What stands under a file's name. A symbolic link counts as what it points
// to; a link to nothing is Other.
enum class Entry {
    Nothing, // no file and no link of that name
    File,    // a regular file, or a link to one
    Other,   // a link to nothing, a directory, a FIFO, a socket, a device
};
Entry EntryAt(const QString& path);

// Opens a file for reading and closes it again. Only a regular file (or a
// link to one) is opened, and never waits: a FIFO would block until a writer
// came. Throws RuntimeError 53 when it does not exist, 70 when it may not be
// read, 75 when it is anything else than a regular file (a directory, a
// FIFO, a socket, a device, a symbolic link to nothing).
void ProbeFile(const QString& path);

// The file's first bytes, at most `limit` of them. Errors as ProbeFile, and
// 57 when reading fails.
QByteArray ReadHead(const QString& path, qint64 limit);

// Copies the regular file `from` to `to` (replacing it) with the access and
// modification times of `from`, but with the player's own read-write mode
// (0644 less the umask), whatever the mode of `from`: a copy of a read-only
// file must still take the saves. It is written under a temporary name beside
// `to`, flushed to disk and renamed into place. Errors as ProbeFile for
// `from`; 70 or 75 when the copy cannot be made, 61 when the disk is full.
void CopyWithTimes(const QString& from, const QString& to);

// The last-modification time (of a link's target). RuntimeError 53 when the
// file is gone, 75 for a symbolic link to nothing.
QDateTime ModifiedTime(const QString& path);

// Replaces both files as one: each is written completely under a temporary
// name beside its target and flushed to disk, then the settings file is
// renamed into place, then the data file. Anything that fails before the
// renames leaves both targets untouched and throws a FileError; a target
// that is read-only counts as a failure (70), and so does one that another
// program holds a write lock on (flock or a record lock: it is writing the
// file, and a rename would throw its work or ours away). A failed rename of
// the data file throws too (SaveProblem::Unfinished), leaving it pending:
// the settings file is already in place, and RecoverInterruptedSave
// completes the pair at the next load, as it does when the program dies
// between the two renames. A file that is a symbolic link stays one: the
// file it points to is replaced, and a link to nothing is a failure (75).
void WriteFilePair(const QString& settingsPath, const QByteArray& settings, const QString& dataPath,
                   const QByteArray& data);

// Tidies up after a save that was cut short: a complete data file waiting to
// be renamed (the settings file already is) is moved into place; the
// temporaries of a save that never reached its renames are removed, the data
// file's first. Throws a RuntimeError when a rename fails.
void RecoverInterruptedSave(const QString& settingsPath, const QString& dataPath);

// The file a save replaces: the path itself, or the final target of a
// symbolic link (RuntimeError 75 for a link to nothing).
QString SaveTarget(const QString& path);

// The temporary name a file is written under before it replaces `path`.
QString PendingPath(const QString& path);

// Called at each stage of WriteFilePair ("settings written", "data written",
// "settings renamed", "data renamed"). Tests use it to make a save fail or to
// stop it dead at that point; a failure at "settings renamed" counts as one
// of the data file's rename. Empty in the game.
inline std::function<void(const char* stage)> saveStageHook;

} // namespace storage
