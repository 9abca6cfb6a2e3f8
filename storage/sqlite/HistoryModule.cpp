// SPDX-License-Identifier: MIT
// The one entry point of the history module (libzelmor_history.so). The game
// resolves it by name on the first use of its history, so nothing in the
// executable links Qt SQL or SQLite.
#include "storage/sqlite/SqliteHistory.h"

#include <QtGlobal>

// Returns a new store that the caller owns and deletes.
extern "C" Q_DECL_EXPORT storage::HistoryStore* zelmor_create_history_store()
{
    return new storage::SqliteHistory;
}
