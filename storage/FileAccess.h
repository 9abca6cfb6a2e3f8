// SPDX-License-Identifier: MIT
// Reading and writing the two files on disk, with Qt's file errors mapped to
// the classic runtime error numbers (see RuntimeError.h).
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

namespace storage {

// Opens a file for reading and closes it again. Throws RuntimeError 53 when
// it does not exist, 70 when it may not be read, 75 when it is a directory or
// a symbolic link to nothing.
void ProbeFile(const QString& path);

// The file's first bytes, at most `limit` of them. Errors as ProbeFile, and
// 57 when reading fails.
QByteArray ReadHead(const QString& path, qint64 limit);

// The last-modification time (of a link's target). RuntimeError 53 when the
// file is gone, 75 for a symbolic link to nothing.
QDateTime ModifiedTime(const QString& path);

// Replaces both files as one: each is written completely under a temporary
// name beside its target and flushed to disk, then the settings file is
// renamed into place, then the data file. Anything that fails before the
// renames leaves both targets untouched and throws a RuntimeError; a target
// that is read-only counts as a failure (70). A failed rename of the data
// file throws too, leaving it pending: the settings file is already in
// place, and RecoverInterruptedSave completes the pair at the next load, as
// it does when the program dies between the two renames. A file that is a
// symbolic link stays one: the file it points to is replaced, and a link to
// nothing is a failure (75).
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
// stop it dead at that point. Empty in the game.
inline std::function<void(const char* stage)> saveStageHook;

} // namespace storage
