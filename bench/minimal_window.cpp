// SPDX-License-Identifier: MIT
// The yardstick for the start-up and memory figures: a Qt Widgets program
// that opens one empty window of the game window's size and nothing else.
// Escape closes it, as Escape ends the game.
//
// With --message it first shows the game's start-up message box (the same
// Japanese text), to tell apart what the Japanese fonts and text cost from
// what the game itself adds.
#include "platform/FirstPaintProbe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWidget>

#include <cstring>

namespace {

class EmptyWindow : public QWidget {
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape)
            close();
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::InstallFirstPaintProbe();
    if (argc > 1 && std::strcmp(argv[1], "--message") == 0)
        QMessageBox::information(nullptr, QStringLiteral("ゼルモア"),
                                 QStringLiteral("現在の確率設定は、300分の6に設定されています。"));
    EmptyWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(494, 285);
    window.show();
    return app.exec();
}
