#include "core/CommandLine.h"
#include "core/Translation.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

std::optional<commandline::Outcome> run(QStringList arguments) {
    arguments.prepend(QStringLiteral("ombrivo"));
    return commandline::handle(arguments);
}

TEST(CommandLine, NoArgumentsStartsTheProgram) {
    EXPECT_FALSE(run({}).has_value());
}

TEST(CommandLine, QtDisplayOptionsPassThrough) {
    EXPECT_FALSE(run({QStringLiteral("-platform"), QStringLiteral("offscreen")}).has_value());
    EXPECT_FALSE(run({QStringLiteral("-session"), QStringLiteral("1a2b")}).has_value());
}

TEST(CommandLine, VersionAndHelpAnswerOnStandardOutput) {
    for (const char *option : {"--version", "-v"}) {
        const auto outcome = run({QString::fromLatin1(option)});
        ASSERT_TRUE(outcome.has_value()) << option;
        EXPECT_EQ(outcome->exitCode, 0);
        EXPECT_EQ(outcome->output, QStringLiteral("Ombrivo 9.8.7\n"));
        EXPECT_TRUE(outcome->error.isEmpty());
    }
    for (const char *option : {"--help", "-h"}) {
        const auto outcome = run({QString::fromLatin1(option)});
        ASSERT_TRUE(outcome.has_value()) << option;
        EXPECT_EQ(outcome->exitCode, 0);
        EXPECT_TRUE(outcome->output.contains(QStringLiteral("--version")));
        EXPECT_TRUE(outcome->output.contains(QStringLiteral("OMBRIVO_HOME")));
        // Qt's hidden display options stay out of the help.
        EXPECT_FALSE(outcome->output.contains(QStringLiteral("platform")));
    }
}

TEST(CommandLine, EverythingElseIsRefusedWithTheArgumentNamed) {
    const QList<QStringList> refused{
        {QStringLiteral("SystemData.dat")},
        {QStringLiteral("--frobnicate")},
        {QStringLiteral("-x")},
        {QStringLiteral("--version"), QStringLiteral("extra")},
        {QStringLiteral("-platform")}, // its value is missing
    };
    for (const QStringList &arguments : refused) {
        const auto outcome = run(arguments);
        ASSERT_TRUE(outcome.has_value()) << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome->exitCode, 2);
        EXPECT_TRUE(outcome->output.isEmpty());
        EXPECT_TRUE(outcome->error.contains(arguments.join(QLatin1Char(' '))))
            << outcome->error.toStdString();
        EXPECT_EQ(outcome->error.count(QLatin1Char('\n')), 1) << "one line";
    }
}

TEST(Translation, EnglishOnlyWhenEnglishComesBeforeChinese) {
    struct Case {
        QStringList languages;
        QString expected;
    };
    const QList<Case> cases{
        {{QStringLiteral("en-US"), QStringLiteral("en")}, QStringLiteral("en")},
        {{QStringLiteral("en-GB")}, QStringLiteral("en")},
        {{QStringLiteral("zh-CN"), QStringLiteral("en-US")}, QString()},
        {{QStringLiteral("zh-TW")}, QString()},
        {{QStringLiteral("de-DE"), QStringLiteral("en-US")}, QStringLiteral("en")},
        {{QStringLiteral("de-DE"), QStringLiteral("zh-CN"), QStringLiteral("en")}, QString()},
        {{QStringLiteral("C")}, QString()},
        {{QStringLiteral("fr-FR")}, QString()},
        {{}, QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(translation::chooseFor(c.languages), c.expected)
            << c.languages.join(',').toStdString();
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Ombrivo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
