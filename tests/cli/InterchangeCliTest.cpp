#include "CliProcess.h"
#include "DataModule.h"
#include "FileContents.h"
#include "PlayerDatabase.h"
#include "PlayerProcess.h"
#include "ProgramSamples.h"
#include "ProgramSet.h"
#include "ProgramStore.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <sys/resource.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// Two fresh databases side by side: `source` holds programs of all four sets.
class InterchangeCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QString error;
        ASSERT_TRUE(QDir(folder.path()).mkpath("fresh"));
        ASSERT_TRUE(createPlayerDatabase(source, &error)) << error.toStdString();
        ASSERT_TRUE(createPlayerDatabase(fresh, &error)) << error.toStdString();
        ScriptedPrompter quiet;
        ASSERT_TRUE(data.ConnectDatabase(quiet, folder.path()));
        QList<ProgramRecord> programs;
        for (int set = FirstSet; set <= LastSet; ++set)
            for (int i = 1; i <= 3; ++i)
                programs.append(sampleProgram(set, formatOrderNo(i), 6 + i, QString::number(set)));
        programs[4].YXCX = priorityMarker();
        programs[5].YuRe.reset();
        ASSERT_TRUE(ProgramStore(data.database()).insertAll(ProgramTable::MusicTab, programs));
    }

    CliRun cli(const QString& database, QStringList arguments) {
        arguments.prepend(database);
        arguments.prepend(QStringLiteral("--db"));
        return runCli(TESSALY_CLI, arguments);
    }

    QTemporaryDir folder;
    const QString source = folder.filePath(databaseFileName());
    const QString fresh = folder.filePath("fresh/" + databaseFileName());
    DataModule data;
};

} // namespace

TEST_F(InterchangeCli, ExportedFilesImportIntoAFreshDatabaseAsTheyWere) {
    const CliRun csvOut = cli(source, {"export"});
    ASSERT_EQ(csvOut.exitCode, 0) << csvOut.err.toStdString();
    EXPECT_TRUE(csvOut.out.contains("OrderNo,KSTime,JSTime,JMTaoNo,YXCX,MP3,ShouYin,YuRe,"));

    for (const char* name : {"programs.csv", "programs.json", "programs.txt"}) {
        const QString file = folder.filePath(name);
        QStringList exportArguments{"export", "--output", file};
        if (QString(name).endsWith(".txt"))
            exportArguments << "--format"
                            << "json"; // the import finds JSON by its content
        const CliRun exported = cli(source, exportArguments);
        ASSERT_EQ(exported.exitCode, 0) << name << exported.err.toStdString();
        if (QString(name).endsWith(".csv"))
            EXPECT_TRUE(contents(file).startsWith("\xEF\xBB\xBFOrderNo,"));
        ASSERT_TRUE(QFile::remove(fresh));
        QString error;
        ASSERT_TRUE(createPlayerDatabase(fresh, &error));
        const CliRun imported = cli(fresh, {"import", file});
        EXPECT_EQ(imported.exitCode, 0) << name << imported.out.toStdString();
        EXPECT_EQ(imported.out, "导入完成：共12个程序。\n") << name;
        EXPECT_EQ(cli(fresh, {"export"}).out, csvOut.out) << name;
    }

    const CliRun one = cli(source, {"export", "--set", "2", "--format", "json"});
    EXPECT_TRUE(one.out.startsWith("[\n  {\"OrderNo\": \"001\"")) << one.out.toStdString();
    EXPECT_EQ(one.out.count("第二套"), 3);
    EXPECT_EQ(one.out.count("OrderNo"), 3);
}

TEST_F(InterchangeCli, AFileWithBadRowsIsRefusedWholeAndTheDatabaseKeepsItsBytes) {
    const QString file = folder.filePath("bad.csv");
    QStringList lines = cli(source, {"export", "--set", "1"}).out.split("\r\n");
    ASSERT_EQ(lines.size(), 5) << "header, three programs, nothing after the last line end";
    QStringList second = lines[2].split(',');
    second[programColumns().indexOf("KS1")] = "24";
    lines[2] = second.join(',');
    write(file, lines.join("\r\n").toUtf8());
    const QByteArray before = contents(fresh);
    const CliRun run = cli(fresh, {"import", "--replace", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "第3行：开始时间小时不能大于23\n"
                       "1行有错误，未导入任何程序。\n")
        << run.out.toStdString();
    EXPECT_EQ(contents(fresh), before);

    write(file, "[{\"OrderNo\": }]");
    const CliRun json = cli(fresh, {"import", "--format", "json", file});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_TRUE(json.out.startsWith("第1行：JSON格式错误：")) << json.out.toStdString();
    EXPECT_EQ(contents(fresh), before);
}

// What the editor, the player or an older version left goes out and comes back unchanged: the
// ends of the editor's volume list, the player's own volumes and order number 000, MP3 and
// ShouYin stored NULL, and two programs of one class starting together on different weekdays.
TEST_F(InterchangeCli, WhatThePlayerOrAnOlderVersionLeftGoesOutAndComesBackUnchanged) {
    QSqlQuery change(data.database());
    for (const char* statement :
         {"UPDATE MusicTab SET YinLiang = 38 WHERE JMTaoNo = '第一套' AND OrderNo = '001'",
          "UPDATE MusicTab SET YinLiang = 0 WHERE JMTaoNo = '第一套' AND OrderNo = '002'",
          "UPDATE MusicTab SET YinLiang = 39 WHERE JMTaoNo = '第一套' AND OrderNo = '003'",
          "UPDATE MusicTab SET YinLiang = 255, OrderNo = '000' WHERE JMTaoNo = '第四套' AND "
          "OrderNo = '001'",
          "UPDATE MusicTab SET MP3 = NULL, ShouYin = NULL WHERE JMTaoNo = '第二套'",
          "UPDATE MusicTab SET KS1 = 7, KSTime = '07:00:00', Week1 = 0 WHERE JMTaoNo = '第三套' "
          "AND OrderNo = '002'",
          "UPDATE MusicTab SET Week2 = 0, Week3 = 0, Week4 = 0, Week5 = 0 WHERE JMTaoNo = '第三套' "
          "AND OrderNo = '001'"})
        ASSERT_TRUE(change.exec(statement)) << statement;
    for (const char* format : {"csv", "json"}) {
        const QString file = folder.filePath(QStringLiteral("programs.") + format);
        ASSERT_EQ(cli(source, {"export", "--output", file}).exitCode, 0);
        const CliRun imported = cli(fresh, {"import", "--replace", file});
        EXPECT_EQ(imported.out, "导入完成：共12个程序。\n") << format;
        EXPECT_EQ(cli(fresh, {"export", "--format", format}).out,
                  cli(source, {"export", "--format", format}).out);
    }
}

// Files as spreadsheets of other locales save them import; files that hold nothing to import, or a
// program the player could not take, are refused with nothing changed and no backup.
TEST_F(InterchangeCli, EachFileIsImportedOrRefusedWithAClearMessage) {
    const QString text = cli(source, {"export"}).out; // without the BOM
    const QString header = text.left(text.indexOf("\r\n") + 2);
    QStringList lines = text.split("\r\n");
    QStringList bothSources = lines[1].split(',');
    bothSources[programColumns().indexOf("ShouYin")] = "1";
    QStringList loud = lines[1].split(',');
    loud[programColumns().indexOf("YinLiang")] = "300";
    QStringList nul = loud;
    nul[programColumns().indexOf("YinLiang")] = QString("2") + QChar(0) + "5";
    QStringList split = lines[1].split(',');
    split[programColumns().indexOf("JMTaoNo")] = QString("\"第一套\n") + QChar(0) + "x\"";
    QByteArray json = cli(source, {"export", "--format", "json"}).out.toUtf8();
    const QByteArray volume = "\"YinLiang\": 20";
    json.replace(json.indexOf(volume), volume.size(), "\"YinLiang\": 1e300");
    const QByteArray big(9 * 1024 * 1024, ' ');
    QStringEncoder gb18030("GB18030");
    const QString path = folder.filePath("import.txt");
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList options;
        int exitCode;
        QString out;
        QString err;
    } cases[] = {
        {"semicolons",
         QString(text).replace(',', ';').toUtf8(),
         {"--replace"},
         0,
         "导入完成：共12个程序。\n",
         ""},
        {"tabs",
         QString(text).replace(',', '\t').toUtf8(),
         {"--replace"},
         0,
         "导入完成：共12个程序。\n",
         ""},
        {"GB18030",
         gb18030.encode(text),
         {"--replace"},
         0,
         "导入完成：共12个程序。\n",
         "文件不是UTF-8编码，已按GB18030编码读取。\n"},
        {"header only",
         header.toUtf8(),
         {"--replace", "--set", "1"},
         1,
         "文件中没有程序，未导入。\n",
         ""},
        {"MP3 and radio",
         (header + bothSources.join(',')).toUtf8(),
         {},
         1,
         "第2行：MP3“1”与ShouYin“1”应一个为1、一个为0（MP3或收音）\n1行有错误，未导入任何程序。\n",
         ""},
        {"volume",
         (header + loud.join(',')).toUtf8(),
         {},
         1,
         "第2行：音量300超出0-255\n1行有错误，未导入任何程序。\n",
         ""},
        {"a NUL in a volume",
         (header + nul.join(',')).toUtf8(),
         {},
         1,
         "第2行：YinLiang“2\\05”含有控制字符\n1行有错误，未导入任何程序。\n",
         ""},
        {"a line end and a NUL in a quoted text",
         (header + split.join(',')).toUtf8(),
         {},
         1,
         "第2行：JMTaoNo“第一套\\n\\0x”含有控制字符\n1行有错误，未导入任何程序。\n",
         ""},
        {"JSON number named as written",
         json,
         {"--lang", "en", "--replace"},
         1,
         "program 1: volume “1e300” is not a whole number from 0 to 255\n"
         "1 program has an error; no program was imported.\n",
         ""},
        {"too large",
         big,
         {},
         1,
         "文件" + path + "有9.0 MB，不是节目文件（节目文件不超过8 MB），未导入。\n",
         ""},
    };
    for (const auto& file : cases) {
        SCOPED_TRACE(file.name);
        write(path, file.bytes);
        const QByteArray before = contents(source);
        const CliRun run =
            cli(file.exitCode == 0 ? fresh : source, file.options + QStringList{"import", path});
        EXPECT_EQ(run.exitCode, file.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, file.out);
        EXPECT_EQ(run.err, file.err);
        if (file.exitCode == 0) {
            EXPECT_EQ(cli(fresh, {"export"}).out, text);
        } else {
            EXPECT_EQ(contents(source), before);
            EXPECT_FALSE(QFileInfo::exists(folder.filePath("backups"))) << "no backup taken";
        }
    }
}

TEST_F(InterchangeCli, BadCommandLinesAreUsageErrors) {
    const QStringList cases[] = {
        {"import"},
        {"import", "a.csv", "b.csv"},
        {"import", "--output", "x", "a.csv"},
        {"export", "--replace"},
        {"export", "a.csv"},
        {"export", "--format", "xml"},
        {"export", "--output", "a", "--output", "b"},
        {"list", "--format", "csv"},
        {"probe", "--replace"},
        {"load", "--set", "1", "--output", "x"},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = cli(source, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST_F(InterchangeCli, TheTrafficLogHasALinePerFrameWithWhatItIs) {
    PlayerProcess player(TESSALY_PLAYER_SIM, {});
    ASSERT_FALSE(player.device().isEmpty());
    const QString log = folder.filePath("traffic.log");
    write(log, "an earlier line\n");
    const CliRun run =
        runCli(TESSALY_CLI, {"--db", source, "--port", "1", "--trace", log, "load", "--set", "2"},
               {{"TESSALY_COM1", player.device()}});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(contents(log)).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], "an earlier line") << "the log is appended to";
    const QString time = QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
    EXPECT_TRUE(
        QRegularExpression(time + "# tessaly-cli --db .* load --set 2$").match(lines[1]).hasMatch())
        << "the run is named: " << lines[1].toStdString();
    const QRegularExpression shape(time + "([<>]) ([0-9A-F ]+)  (.+)$");
    QStringList summaries;
    for (const QString& line : lines.mid(2)) {
        const auto match = shape.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        summaries << match.captured(1) + ' ' + match.captured(3);
    }
    EXPECT_EQ(summaries.first(), "> probe");
    EXPECT_TRUE(lines[2].contains("> FE 01 00 FF  probe"));
    EXPECT_TRUE(summaries.contains("< probe reply ok")) << summaries.join('\n').toStdString();
    EXPECT_TRUE(summaries.contains("> clear set 2"));
    EXPECT_TRUE(summaries.contains("< cleared set 2"));
    EXPECT_TRUE(summaries.contains("> record 1/3 set 2"));
    EXPECT_EQ(summaries.last(), "> record 3/3 set 2");

    const CliRun untraced = runCli(TESSALY_CLI, {"--db", source, "--port", "1", "probe"},
                                   {{"TESSALY_COM1", player.device()}});
    EXPECT_EQ(untraced.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(contents(log)).count('\n'), lines.size()) << "off by default";
}

// A file written by tessaly-cli and stopped part way (here by the file size limit, SIGXFSZ)
// leaves the file it was to replace as it was: never a file cut short. The exports, the
// timetable's PDF and its PNG.
TEST_F(InterchangeCli, AnExportKilledWhileItWritesLeavesTheEarlierFileAsItWas) {
    QList<ProgramRecord> many;
    for (int set = FirstSet; set <= LastSet; ++set)
        for (int i = 1; i <= 999; ++i)
            many.append(sampleProgram(set, formatOrderNo(i), i % 24, QString::number(i)));
    ASSERT_TRUE(ProgramStore(data.database()).insertAll(ProgramTable::MusicTab, many));
    const QByteArray earlier = "an earlier export\r\n";
    const QStringList commands[] = {
        {"export", "--output", folder.filePath("programs.csv")},
        {"timetable", "--output", folder.filePath("week.pdf")},
        {"timetable", "--set", "1", "--output", folder.filePath("week.png")}};
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        const QString target = command.last();
        write(target, earlier);
        QProcess writer;
        writer.setChildProcessModifier([] {
            const rlimit limit{32 * 1024, 32 * 1024}; // each file is larger
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        writer.start(TESSALY_CLI, QStringList{"--db", source} + command);
        ASSERT_TRUE(writer.waitForFinished(60000));
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the size limit stopped it";
        const QByteArray left = contents(target);
        EXPECT_TRUE(left == earlier) << "the file holds " << left.size() << " bytes";

        ASSERT_EQ(cli(source, command).exitCode, 0) << "without the limit";
        EXPECT_GT(contents(target).size(), 32 * 1024);
    }
    EXPECT_EQ(contents(folder.filePath("programs.csv")).count("\r\n"),
              1 + ProgramStore(data.database()).count(ProgramTable::MusicTab).value_or(0));
}
