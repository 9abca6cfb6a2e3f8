// SPDX-License-Identifier: MIT
// A measuring hook for the start-up benchmark (bench/startup_figures.sh).
//
// When ZELMOR_BENCH_FIRST_PAINT is set in the environment, the first time any
// window has been painted the program writes "first-paint <microseconds since
// the epoch>" to standard error; with the value "exit" it then ends at once.
// Without the variable nothing is installed. Header-only, so that the minimal
// comparison program measures itself with exactly the same code.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

class FirstPaintProbe final : public QObject {
public:
    explicit FirstPaintProbe(bool exitAfter) : exitAfter_(exitAfter) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Painting has begun; the zero timer fires once this round of
            // painting has been flushed to the screen.
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void report()
    {
        const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        std::fprintf(stderr, "first-paint %lld\n", static_cast<long long>(now.count()));
        std::fflush(stderr);
        if (exitAfter_)
            std::_Exit(0);
        QCoreApplication::instance()->removeEventFilter(this);
    }

    bool exitAfter_;
    bool seen_ = false;
};

inline void InstallFirstPaintProbe()
{
    const char* mode = std::getenv("ZELMOR_BENCH_FIRST_PAINT");
    if (!mode || !*mode)
        return;
    auto* app = QCoreApplication::instance();
    app->installEventFilter(new FirstPaintProbe(std::strcmp(mode, "exit") == 0));
}

} // namespace platform
