// SPDX-License-Identifier: MIT
// The entries' tables of the history file: their schema, and an entry as a
// row of `plays` and back. Times are milliseconds since 1970-01-01 UTC;
// enums are stored as their numbers, which small tables name as
// game::Name() does ('spin', 'cover_miss', 'all_rotation', 'premium', ...),
// and the view `entries` shows them by those names; booleans as 0 or 1.
#pragma once

#include "game/PlayRecord.h"

#include <QString>
#include <QStringList>

#include <optional>

class QSqlQuery;

namespace storage {

// The sessions and plays tables, the names of the codes and the views of
// the entries and the spins.
QStringList PlayTables();

// Counts 1 where the plays table is of the older files, which spelled the
// kinds, reach actions and notice lamps out as names in every row.
extern const QString PlaysSpelledOut;
// Turns the plays back into the older files' form, for the tests and
// benchmarks that need such a file.
QStringList SpellOutPlays();
// Rewrites such a table with the codes, ids kept; a name the game does not
// know becomes a code that does not read back, as the name did not.
QStringList RecodePlays();

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
