#include "start/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> HandleCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString program = arguments.isEmpty() ? QStringLiteral("kestrom")
                                                : QFileInfo(arguments.constFirst()).fileName();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists the Oracle sessions of one machine and ends the one you pick."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    // The application object that would name the program cannot exist yet: it needs a display.
    QString usage = parser.helpText();
    usage.replace(QStringLiteral("<executable_name>"), program);

    QString refusal;
    if (!parser.parse(arguments))
        refusal = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        refusal = QStringLiteral("Unexpected argument '%1'.")
                      .arg(parser.positionalArguments().constFirst());
    if (!refusal.isEmpty()) {
        print(stderr, program + QStringLiteral(": ") + refusal + QStringLiteral("\n\n") + usage);
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, usage);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral(KESTROM_VERSION_TEXT "\n"));
        return 0;
    }
    return std::nullopt;
}
