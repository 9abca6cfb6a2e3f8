// SPDX-License-Identifier: MIT
// Zelmor: starts the machine.
#include "app/CommandLine.h"
#include "app/GameSession.h"
#include "app/QuitSignals.h"
#include "platform/FirstPaintProbe.h"
#include "platform/Seams.h"
#include "ui/DialogPrompter.h"
#include "ui/Fonts.h"
#include "ui/Placement.h"
#include "ui/GameStyle.h"
#include "ui/Language.h"
#include "ui/Preferences.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (const auto exitCode = app::HandleCommandLine(argc, argv))
        return *exitCode;
    // The menu bar stays in the machine's window, as its layout expects, even
    // on desktops with a global menu; that also spares the start-up a session
    // bus query for one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setStyle(new ui::GameStyle);
    platform::InstallFirstPaintProbe();
    QApplication::setApplicationName(QStringLiteral("Zelmor"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(ZELMOR_VERSION_MAJOR)
                                            .arg(ZELMOR_VERSION_MINOR)
                                            .arg(ZELMOR_VERSION_PATCH));
    ui::installFontSubstitutions();
    // Dialogs and message boxes use the window's face too, so one font serves
    // the whole game.
    QApplication::setFont(ui::GameFont());
    // The language the player chose, or else the desktop's, from the first
    // message on.
    ui::SetLanguage(ui::Preferences::Load().shownLanguage());
    Randomize();

    ui::DialogPrompter prompter;
    game::installPrompter(&prompter);
    app::GameSession session;
    prompter.setOwner(&session.window());
    app::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &app::QuitSignals::quitRequested, &session,
                     [&session] { session.systemRequest(app::GameSession::SystemRequest::End); });
    // A signal during a start-up message ends the program there.
    if (!session.start() || ProgramEnded())
        return 0;

    ui::MainWindow& window = session.window();
    window.adjustSize();
    ui::CentreOnScreen(window);
    window.show();
    return app.exec();
}
