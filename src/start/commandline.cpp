#include "start/commandline.h"

#include "decor/version.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The options QApplication and its platform plugins take from the command line, which they
// read themselves once the application object is made. Qt reads "-name value" and
// "--name value" alike; only the three marked take "-name=value" as well.
struct QtOption {
    const char* name;
    bool value;
    bool joined;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true, false},
    {"platformpluginpath", true, false},
    {"platformtheme", true, false},
    {"plugin", true, false},
    {"qwindowgeometry", true, false},
    {"qwindowicon", true, false},
    {"qwindowtitle", true, false},
    {"session", true, false},
    {"style", true, true},
    {"stylesheet", true, true},
    {"qmljsdebugger", true, true},
    {"reverse", false, false},
    {"widgetcount", false, false},
    {"testability", false, false},
    // X11 (xcb)
    {"display", true, false},
    {"geometry", true, false},
    {"title", true, false},
    {"icon", true, false},
    {"name", true, false},
    {"visual", true, false},
    {"nograb", false, false},
    {"dograb", false, false},
};

// "-platform=xcb" would pass Qt by: it takes that value only from the next argument.
QString joinedValueRefused(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(u'-'))
            continue;
        const QString word = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        const qsizetype equals = word.indexOf(u'=');
        const QString name = equals < 0 ? word : word.left(equals);
        for (const QtOption& option : kQtOptions) {
            if (!option.value || name != QLatin1StringView(option.name))
                continue;
            if (equals < 0)
                ++i; // its value, whatever it looks like
            else if (!option.joined)
                return QStringLiteral("Option '%1' takes its value as the next argument.")
                    .arg(name);
            break;
        }
    }
    return QString();
}

} // namespace

std::optional<int> HandleCommandLine(int argc, char* argv[], platform::WindowTarget& target) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString program = arguments.isEmpty() ? QStringLiteral("kestrom")
                                                : QFileInfo(arguments.constFirst()).fileName();

    QCommandLineParser parser;
    // Qt's options are words after a single dash, as in -platform.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Lists the Oracle sessions of one machine and ends the one you pick.\n"
                       "Qt's standard options (-platform, -display, -style, -reverse,\n"
                       "-qwindowgeometry, ...) are passed to Qt."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    for (const QtOption& qt : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name));
        if (qt.value)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    // The application object that would name the program cannot exist yet: it needs a display.
    QString usage = parser.helpText();
    usage.replace(QStringLiteral("<executable_name>"), program);

    QString refusal;
    if (!parser.parse(arguments))
        refusal = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        refusal = QStringLiteral("Unexpected argument '%1'.")
                      .arg(parser.positionalArguments().constFirst());
    else
        refusal = joinedValueRefused(arguments);
    if (!refusal.isEmpty()) {
        print(stderr, program + QStringLiteral(": ") + refusal + QStringLiteral("\n\n") + usage);
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, usage);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("kestrom " KESTROM_VERSION_TEXT "\n"));
        return 0;
    }
    // Where Qt takes an option more than once, the last one counts.
    const auto last = [&parser](const char* name) {
        const QStringList values = parser.values(QString::fromLatin1(name));
        return values.isEmpty() ? QString() : values.constLast();
    };
    target.platform = last("platform");
    target.display = last("display");
    return std::nullopt;
}
