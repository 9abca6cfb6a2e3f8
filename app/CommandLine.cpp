// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"
#include "app/StatsCommand.h"

#include "ui/Language.h"
#include "ui/Preferences.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace app {

namespace {

QString Version()
{
    return QStringLiteral("%1.%2.%3").arg(ZELMOR_VERSION_MAJOR).arg(ZELMOR_VERSION_MINOR).arg(ZELMOR_VERSION_PATCH);
}

void Print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The parser with every option the game takes, described in the language
// the game speaks.
struct Options {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, tr("このヘルプを表示して終了します。")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               tr("名前とバージョンを表示して終了します。")};
    QCommandLineOption stats{QStringLiteral("stats"),
                             tr("データカウンターの通算の成績を JSON で書き出して終了します。")};

    Options()
    {
        parser.setApplicationDescription(tr("ゼルモア (Zelmor): 日本のパチスロ風のデジタルスロットマシン。"));
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(stats);
        // Qt's own options (-platform, -display...) are accepted here and
        // left to the application object, which reads them itself.
        for (const char* name : {"platform", "display", "style", "qwindowgeometry", "qwindowtitle", "qwindowicon"}) {
            QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
            qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(qtOption);
        }
        QCommandLineOption reverse(QStringLiteral("reverse"));
        reverse.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(reverse);
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    }
};

// The help and the complaints about the command line speak the game's
// language, which needs an application object for its translations; the
// game itself makes its own later.
std::optional<int> Answer(const QStringList& arguments)
{
    // Named zelmor, as the usage line shows it, however it was started.
    int count = 1;
    char name[] = "zelmor";
    char* names[] = {name, nullptr};
    QCoreApplication core(count, names);
    ui::SetLanguage(ui::Preferences::Load().shownLanguage());
    ui::LoadQtTranslations();
    Options options;
    if (!options.parser.parse(arguments) || !options.parser.positionalArguments().isEmpty()) {
        const QString problem = options.parser.errorText().isEmpty()
            ? Options::tr("引数 '%1' は使えません。").arg(options.parser.positionalArguments().value(0))
            : options.parser.errorText();
        Print(stderr, QStringLiteral("zelmor: %1\n").arg(problem)
                          + Options::tr("詳しくは 'zelmor --help' を参照してください。") + QLatin1Char('\n'));
        return 2;
    }
    Print(stdout, options.parser.helpText());
    return 0;
}

} // namespace

std::optional<int> HandleCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    Options options;
    const bool understood = options.parser.parse(arguments) && options.parser.positionalArguments().isEmpty();
    if (!understood || options.parser.isSet(options.help))
        return Answer(arguments);
    if (options.parser.isSet(options.version)) {
        Print(stdout, QStringLiteral("Zelmor %1\n").arg(Version()));
        return 0;
    }
    if (options.parser.isSet(options.stats))
        return PrintStats(argc, argv);
    return std::nullopt;
}

} // namespace app
