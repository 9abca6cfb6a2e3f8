// SPDX-License-Identifier: MIT
// The copy of the game that plays from a save directory answers the copies
// started after it: each calls it on a local socket named for the directory,
// and the running copy brings its window to the front, so the player sees
// the game that already runs beside the message that says so.
#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

namespace app {

class RunningCopy : public QObject {
    Q_OBJECT
public:
    explicit RunningCopy(QObject* parent = nullptr);
    ~RunningCopy() override;

    // The running copy: answers calls for `saveDir` by raising `window`.
    void answerCalls(const QString& saveDir, QWidget* window);
    // A later copy: asks the copy running on `saveDir` to show itself and
    // waits until it has (two seconds at most); false when none listens.
    static bool call(const QString& saveDir);

    // The socket's name for a directory: the same for every spelling of it.
    static QByteArray socketName(const QString& saveDir);

private:
    void answer();
    void raiseWindow();

    int listening_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QPointer<QWidget> window_;
};

} // namespace app
