// SPDX-License-Identifier: MIT
// The entries' tables of the history file: their schema, and an entry as a
// row of `plays` and back. Times are milliseconds since 1970-01-01 UTC;
// enums are stored as the names game::Name() gives them ('spin',
// 'cover_miss', 'all_rotation', 'premium', ...); booleans as 0 or 1.
#pragma once

#include "game/PlayRecord.h"

#include <QString>
#include <QStringList>

#include <optional>

class QSqlQuery;

namespace storage {

// The sessions and plays tables and the view of the spins.
QStringList PlayTables();

// The insert of one entry, for BindPlay.
extern const QString InsertPlay;
void BindPlay(QSqlQuery& insert, const game::PlayRecord& record, qint64 session);

// Every column of the entries `where` picks (none: all), in the order of play,
// for ReadPlay, PlaySession and PlayId.
QString SelectPlays(const QString& where = QString());
// A row of SelectPlays as an entry, or nothing for a row that does not read
// back (a kind this code does not know, a spin with a value missing: a file
// edited by hand).
std::optional<game::PlayRecord> ReadPlay(const QSqlQuery& row);
qint64 PlaySession(const QSqlQuery& row);
qint64 PlayId(const QSqlQuery& row);

} // namespace storage
