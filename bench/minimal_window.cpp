// The yardstick for the start-up and memory figures: a Qt Widgets program
// that opens one empty window of the game window's size and nothing else.
// Escape closes it, as Escape ends the game.
#include "platform/FirstPaintProbe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

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
    EmptyWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(494, 285);
    window.show();
    return app.exec();
}
