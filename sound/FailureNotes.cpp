// SPDX-License-Identifier: MIT
#include "sound/FailureNotes.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace sound {

namespace {

int pending = 0;

int LoopLevel() { return QThread::currentThread()->loopLevel(); }

// While a modal loop runs above the failure's level, looks again every 100 ms.
void NoteWhenBack(const QString& line, int level, QPointer<const QObject> owner,
                  const std::function<bool()>& soundStillOn)
{
    QTimer::singleShot(LoopLevel() > level ? 100 : 0, QCoreApplication::instance(), [line, level, owner, soundStillOn] {
        if (LoopLevel() > level)
            return NoteWhenBack(line, level, owner, soundStillOn);
        --pending;
        if (owner && soundStillOn())
            qWarning("%s", qPrintable(line));
    });
}

} // namespace

void NoteFailure(const QString& reason, const QObject* owner, std::function<bool()> soundStillOn)
{
    const QString line = QStringLiteral("Zelmor: no sound: %1").arg(reason);
    if (!QCoreApplication::instance()) {
        qWarning("%s", qPrintable(line));
        return;
    }
    ++pending;
    NoteWhenBack(line, LoopLevel(), owner, soundStillOn);
}

int PendingFailureNotes() { return pending; }

} // namespace sound
