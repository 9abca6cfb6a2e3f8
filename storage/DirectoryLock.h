// SPDX-License-Identifier: MIT
// The lock that lets one running copy of the game own a save directory:
// flock() on the file Zelmor.lock. It needs no free space (an existing file
// is only opened; a new one is empty), and the kernel lets go of it when the
// process ends, however it ends, so a crash or a kill never leaves a lock
// behind. What the file holds decides nothing: it names the owner's process
// for a human who looks.
#pragma once

#include <QByteArray>
#include <QString>

namespace storage {

class DirectoryLock {
public:
    enum class Outcome {
        Held,          // this lock now holds the file
        HeldElsewhere, // another open lock holds it: another copy runs
        Impossible,    // the file can be neither created nor opened, or takes no lock
    };

    DirectoryLock() = default;
    DirectoryLock(DirectoryLock&& other) noexcept;
    DirectoryLock& operator=(DirectoryLock&& other) noexcept;
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;
    // Removes the file, then lets go.
    ~DirectoryLock();

    // Takes the lock on the file at `path`, created when missing, without
    // waiting. Once held, the file holds this process's id.
    Outcome take(const QString& path);
    bool held() const { return fd_ >= 0; }

private:
    void release();

    QByteArray path_; // as the system names it
    int fd_ = -1;
};

} // namespace storage
