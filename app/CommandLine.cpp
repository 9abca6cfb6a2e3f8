// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"
#include "app/StatsCommand.h"

#include <QCommandLineParser>
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

} // namespace

std::optional<int> HandleCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zelmor (ゼルモア): a Japanese-style digital slot machine."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the name and version and exit."));
    const QCommandLineOption stats(QStringLiteral("stats"),
                                   QStringLiteral("Print the data counter's all-time figures as JSON and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(stats);
    // Qt's own options (-platform, -display...) are accepted here and left to
    // the application object, which reads them itself.
    for (const char* name : {"platform", "display", "style", "qwindowgeometry", "qwindowtitle", "qwindowicon"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    QCommandLineOption reverse(QStringLiteral("reverse"));
    reverse.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(reverse);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString problem = parser.errorText().isEmpty()
            ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().value(0))
            : parser.errorText();
        Print(stderr, QStringLiteral("zelmor: %1\nTry 'zelmor --help' for more information.\n").arg(problem));
        return 2;
    }
    if (parser.isSet(help)) {
        // Without an application object yet, the parser knows no program
        // name and writes a placeholder in its usage line.
        Print(stdout, parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("zelmor")));
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("Zelmor %1\n").arg(Version()));
        return 0;
    }
    if (parser.isSet(stats))
        return PrintStats(argc, argv);
    return std::nullopt;
}

} // namespace app
