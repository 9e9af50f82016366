#include "core/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace commandline {

namespace {
QString tr(const char *text) {
    return QCoreApplication::translate("commandline", text);
}
} // namespace

std::optional<Outcome> handle(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Ombrivo 密码管理器: 保管各种帐号和密码, 每个用户只看到自己的数据."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("显示这段说明后退出."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("显示版本号后退出."));
    parser.addOption(help);
    parser.addOption(version);
    // Qt's own options, read by the application object; not offered in the help.
    for (const char *name : {"platform", "display", "session", "style"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name));
        qtOption.setValueName(QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    const bool understood = parser.parse(arguments);
    if (!understood || !parser.positionalArguments().isEmpty())
        return Outcome{2,
                       {},
                       tr("Ombrivo 只接受 --help 和 --version, 不接受参数: %1")
                               .arg(arguments.mid(1).join(QLatin1Char(' '))) +
                           QLatin1Char('\n')};
    if (parser.isSet(help))
        return Outcome{0,
                       tr("用法: ombrivo [--help] [--version]") + QLatin1String("\n\n") +
                           parser.applicationDescription() + QLatin1String("\n\n") +
                           QLatin1String("  -h, --help     ") + help.description() +
                           QLatin1String("\n  -v, --version  ") + version.description() +
                           QLatin1String("\n\n") +
                           tr("数据文件夹: 环境变量 OMBRIVO_HOME 指定的文件夹, 否则安装后是 "
                              "~/.local/share/Ombrivo, 便携使用时是程序所在的文件夹.") +
                           QLatin1Char('\n'),
                       {}};
    if (parser.isSet(version))
        return Outcome{0,
                       QCoreApplication::applicationName() + QLatin1Char(' ') +
                           QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                       {}};
    return std::nullopt;
}

} // namespace commandline
