#include "CliDatabaseTest.h"
#include "PlayerDatabase.h"
#include "PlayerProcess.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// A fresh database; the port COM1 names no device unless a test gives one.
class CliTest : public CliDatabaseTest {
protected:
    CliRun cli(const QStringList& arguments,
               const QString& com1Device = QStringLiteral("/nonexistent")) {
        return cliOnDatabase(arguments, {{QStringLiteral("TESSALY_COM1"), com1Device}});
    }
};

struct UsageCase {
    const char* why;
    QStringList arguments;
};

} // namespace

TEST_F(CliTest, BadCommandLinesEndWithStatusTwoAndSayWhy) {
    const UsageCase cases[] = {
        {"no command", {}},
        {"unknown command", {"frobnicate"}},
        {"two commands", {"probe", "probe"}},
        {"port out of range", {"--port", "21", "probe"}},
        {"port not a number", {"--port", "x", "probe"}},
        {"option the command does not take", {"probe", "--set", "1"}},
        {"unknown option", {"probe", "--frobnicate"}},
        {"repeated option", {"load", "--set", "1", "--set", "2"}},
        {"repeated flag", {"load", "--all", "--all"}},
        {"repeated database", {"--db", "other.mdb", "probe"}}, // --db is given by cli() too
        {"network port without its URL", {"ports", "--set", "3"}},
        {"network port set and cleared at once",
         {"ports", "--set", "3", "u://h:1", "--clear", "3"}},
        {"URL without --set", {"ports", "socket://10.0.0.7:7003"}},
        {"--clear on another command", {"probe", "--clear", "3"}},
    };
    for (const auto& usage : cases) {
        const auto run = cli(usage.arguments);
        EXPECT_EQ(run.exitCode, 2) << usage.why;
        EXPECT_TRUE(run.err.contains("tessaly-cli --help"))
            << usage.why << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << usage.why;
    }
}

TEST_F(CliTest, HelpListsTheCommandsInTheChosenLanguage) {
    static const QRegularExpression han(QStringLiteral("[\\x{4E00}-\\x{9FFF}]"));
    const struct {
        const char* language;
        const char* helpLine;
    } languages[] = {{"zh", "显示本帮助。"}, {"en", "Show this help."}};
    for (const auto& language : languages)
        for (const char* help : {"--help", "--help-all"}) {
            SCOPED_TRACE(std::string(language.language) + " " + help);
            const auto run = runCli(TESSALY_CLI, {"--lang", language.language, help});
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            for (const char* listed : {"probe", "import", "--db", "--help-all", language.helpLine})
                EXPECT_TRUE(run.out.contains(QString::fromUtf8(listed))) << run.out.toStdString();
            if (QLatin1String(language.language) == QLatin1String("en"))
                EXPECT_FALSE(run.out.contains(han)) << run.out.toStdString();
        }
    const auto wrong = runCli(TESSALY_CLI, {"--lang", "en", "--set"});
    EXPECT_EQ(wrong.err, "tessaly-cli: --set needs a value (see tessaly-cli --help)\n");
}

TEST_F(CliTest, AMissingDatabaseGivesTheProgramsMessageAndStatusTwo) {
    const auto run = runCli(TESSALY_CLI, {"--db", folder.filePath("missing.mdb"), "probe"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "连接数据库失败！请设置数据库\n");
    EXPECT_TRUE(run.err.contains("无法打开数据库文件")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath("missing.mdb"))) << "never created";

    QFile garbage(folder.filePath("garbage.mdb"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    const auto unreadable = runCli(TESSALY_CLI, {"--db", garbage.fileName(), "list"});
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_EQ(unreadable.out, "连接数据库失败！请设置数据库\n");
    EXPECT_TRUE(unreadable.err.contains("文件不是数据库")) << unreadable.err.toStdString();
    EXPECT_TRUE(unreadable.err.contains(garbage.fileName())) << unreadable.err.toStdString();
}

TEST_F(CliTest, MessagesFollowTheLanguageOptionElseTheLocale) {
    const QString chinese = QStringLiteral("连接数据库失败！请设置数据库\n");
    const QString english =
        QStringLiteral("Cannot connect to the database! Please set up the database.\n");
    const struct {
        const char* lang;
        QStringList options;
        QString out;
        const char* cause;
    } cases[] = {
        {"en_US.UTF-8", {}, english, "The database file cannot be opened"},
        {"zh_CN.UTF-8", {}, chinese, "无法打开数据库文件"},
        {"de_DE.UTF-8", {}, chinese, "无法打开数据库文件"},
        {"en_US.UTF-8", {"--lang", "zh"}, chinese, "无法打开数据库文件"},
        {"C.UTF-8", {"--lang=en"}, english, "The database file cannot be opened"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + c.options.join(' ').toStdString());
        const auto run = runCli(
            TESSALY_CLI, c.options + QStringList{"--db", folder.filePath("missing.mdb"), "probe"},
            {{"LANG", c.lang}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANGUAGE", ""}});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, c.out);
        EXPECT_TRUE(run.err.contains(c.cause)) << run.err.toStdString();
    }
    const auto refused = runCli(TESSALY_CLI, {"--lang", "fr", "probe"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("--lang 只能是 zh 或 en，不能是“fr”"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.out.isEmpty());
}

TEST_F(CliTest, ProbeTellsWhetherThePlayerAnswers) {
    PlayerProcess answering(TESSALY_PLAYER_SIM, {});
    ASSERT_FALSE(answering.device().isEmpty());
    auto run = cli({"probe"}, answering.device());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "连接成功\n");

    PlayerProcess silent(TESSALY_PLAYER_SIM, {"--silent"});
    run = cli({"probe"}, silent.device());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "连接失败\n");

    run = cli({"--port", "1", "probe"}); // COM1 names a device that is not there
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "连接失败\n");
    EXPECT_TRUE(run.err.contains("COM1（/nonexistent）无法打开")) << run.err.toStdString();
}

// The cause line follows the usual failure.
TEST_F(CliTest, APortThatCannotBeOpenedIsExplainedOnStandardError) {
    const auto run = cli({"--port", "1", "probe"}); // COM1 is /nonexistent
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "连接失败\n");
    EXPECT_TRUE(run.err.contains("原因：") && run.err.contains("/nonexistent"))
        << run.err.toStdString();
}

// A COM entry of the machine's settings that is neither a device's path nor a URL (edited by
// hand) is named as such; it is never opened as a file name in the current folder.
TEST_F(CliTest, AComEntryThatIsNeitherAPathNorAUrlIsNamedAsSuch) {
    QTemporaryDir configuration;
    QDir(configuration.path()).mkpath("Tessaly");
    QFile settings(configuration.filePath("Tessaly/Tessaly.conf"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[NetworkPorts]\nCOM3=ttyS0\n");
    settings.close();
    const auto run =
        cliOnDatabase({"--port", "3", "probe"}, {{"XDG_CONFIG_HOME", configuration.path()}});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "连接失败\n");
    EXPECT_TRUE(run.err.contains("COM3 的设置“ttyS0”既不是设备路径")) << run.err.toStdString();
}

// The target is kept in the user's configuration, where the next run (and the window) finds it;
// TESSALY_COM<n> still goes first, and the command says so.
TEST_F(CliTest, PortsSetsListsAndClearsTheNetworkTargetOfACom) {
    QTemporaryDir configuration;
    const QMap<QString, QString> machine{{"XDG_CONFIG_HOME", configuration.path()}};
    auto set = runCli(TESSALY_CLI, {"ports", "--set", "3", "RFC2217://10.0.0.7:7003"}, machine);
    EXPECT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_EQ(set.out, "COM3 现指向网络串口 rfc2217://10.0.0.7:7003\n");
    EXPECT_TRUE(QFile::exists(configuration.filePath("Tessaly/Tessaly.conf")));

    auto list = runCli(TESSALY_CLI, {"ports"}, machine);
    EXPECT_TRUE(list.out.split('\n').contains("COM3   rfc2217://10.0.0.7:7003  网络"))
        << list.out.toStdString();

    auto underVariable = machine;
    underVariable.insert("TESSALY_COM3", "/dev/pts/sim");
    set = runCli(TESSALY_CLI, {"ports", "--set", "3", "socket://[::1]:4001"}, underVariable);
    EXPECT_EQ(set.exitCode, 0);
    EXPECT_TRUE(set.err.contains("TESSALY_COM3=/dev/pts/sim")) << set.err.toStdString();
    list = runCli(TESSALY_CLI, {"ports"}, underVariable);
    EXPECT_TRUE(list.out.contains("COM3   /dev/pts/sim\n")) << list.out.toStdString();

    const auto clear = runCli(TESSALY_CLI, {"ports", "--clear", "3"}, machine);
    EXPECT_EQ(clear.exitCode, 0);
    EXPECT_EQ(clear.out, "COM3 不再指向网络串口\n");
    list = runCli(TESSALY_CLI, {"ports"}, machine);
    EXPECT_FALSE(list.out.contains("://")) << list.out.toStdString();
}

// A target that cannot be kept is refused with status 1 and the reason, and what was stored
// stays as it was.
TEST_F(CliTest, PortsRefusesATargetItCannotKeep) {
    QTemporaryDir configuration;
    const QMap<QString, QString> machine{{"XDG_CONFIG_HOME", configuration.path()}};
    ASSERT_EQ(
        runCli(TESSALY_CLI, {"ports", "--set", "2", "socket://10.0.0.7:4001"}, machine).exitCode,
        0);
    QFile blocker(configuration.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const struct {
        QStringList arguments;
        QString reason;
        QString configurationHome;
    } cases[] = {
        {{"--set", "21", "socket://10.0.0.7:4001"}, "“21”不是 COM 号", configuration.path()},
        {{"--clear", "COM2"}, "“COM2”不是 COM 号", configuration.path()},
        {{"--set", "2", "/dev/ttyUSB0"}, "“/dev/ttyUSB0”不是网络串口地址", configuration.path()},
        {{"--set", "2", "telnet://10.0.0.7:4001"}, "不是网络串口地址", configuration.path()},
        {{"--set", "2", "socket://10.0.0.7:65536"}, "不是网络串口地址", configuration.path()},
        {{"--set", "2", "rfc2217://10.0.0.7"}, "不是网络串口地址", configuration.path()},
        {{"--set", "2", "socket://a b:1"}, "不是网络串口地址", configuration.path()},
        {{"--set", "2", "socket://10.0.0.8:4001"}, "无法写入本机设置", blocker.fileName()},
    };
    for (const auto& bad : cases) {
        const auto run = runCli(TESSALY_CLI, QStringList{"ports"} + bad.arguments,
                                {{"XDG_CONFIG_HOME", bad.configurationHome}});
        EXPECT_EQ(run.exitCode, 1) << bad.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(bad.reason)) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
    const auto list = runCli(TESSALY_CLI, {"ports"}, machine);
    EXPECT_TRUE(list.out.contains("COM2   socket://10.0.0.7:4001  网络")) << list.out.toStdString();
}

TEST_F(CliTest, PortsListsEveryComWithItsDeviceWithoutADatabase) {
    const auto run = runCli(TESSALY_CLI, {"ports"}, {{"TESSALY_COM3", "/dev/pts/sim"}});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 20);
    EXPECT_TRUE(lines[2].startsWith("COM3   /dev/pts/sim")) << lines[2].toStdString();
    EXPECT_TRUE(lines[19].startsWith("COM20  ")) << lines[19].toStdString();
}
