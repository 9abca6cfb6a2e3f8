#include "sound/FailureNotes.h"

#include "app/FrmMain.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace sound {

namespace {

int pending = 0;

int LoopLevel() { return QThread::currentThread()->loopLevel(); }

// While a modal loop runs above the failure's level, looks again every 100 ms.
void NoteWhenBack(const QString& line, int level)
{
    QTimer::singleShot(LoopLevel() > level ? 100 : 0, QCoreApplication::instance(), [line, level] {
        if (LoopLevel() > level)
            return NoteWhenBack(line, level);
        --pending;
        if (FrmMain::SoundOn())
            qWarning("%s", qPrintable(line));
    });
}

} // namespace

void NoteFailure(const QString& reason)
{
    const QString line = QStringLiteral("Zelmor: no sound: %1").arg(reason);
    if (!QCoreApplication::instance()) {
        qWarning("%s", qPrintable(line));
        return;
    }
    ++pending;
    NoteWhenBack(line, LoopLevel());
}

int PendingFailureNotes() { return pending; }

} // namespace sound
