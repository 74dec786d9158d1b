#include "DbTesting.h"
#include "InterchangeExport.h"
#include "InterchangeImport.h"
#include "ProgramSamples.h"
#include "ProgramSet.h"
#include "ProgramStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// Four sets of programs as the editor leaves them: numbered by start time, with priority and
// radio programs, a never-written pre-heat, a shared start in two classes.
QList<ProgramRecord> fourSets() {
    QList<ProgramRecord> programs;
    for (int set = FirstSet; set <= LastSet; ++set) {
        for (int i = 0; i < 3; ++i) {
            ProgramRecord p = sampleProgram(set, formatOrderNo(i + 1), 7 + i,
                                            QString::number(100 + set * 10 + i));
            p.KS2 = 5 * i;
            p.KS3 = i;
            p.KSTime = timeOfDay(p.KS1, p.KS2, p.KS3);
            p.YuRe = 1;
            p.YuanShi = i;
            p.FQ[31] = i == 1;
            programs.append(p);
        }
        ProgramRecord priority = programs[programs.size() - 3];
        priority.OrderNo = formatOrderNo(4);
        priority.YXCX = priorityMarker();
        priority.YuRe.reset();
        priority.YuanShi.reset();
        // An end before the start is accepted, as the editor accepts it.
        priority.JS1 = 6;
        priority.JSTime = timeOfDay(6, 30, 0);
        programs.insert(programs.size() - 2, priority);
        programs[programs.size() - 3].OrderNo = formatOrderNo(2);
        programs[programs.size() - 2].OrderNo = formatOrderNo(3);
        programs[programs.size() - 1].OrderNo = formatOrderNo(4);
        ProgramRecord& radio = programs.last();
        radio.MP3 = false;
        radio.ShouYin = true;
        radio.QuMu = {"95", "", "", "", "", ""};
    }
    return programs;
}

QList<ProgramRecord> withoutIds(QList<ProgramRecord> programs) {
    for (ProgramRecord& p : programs)
        p.AutoID = 0;
    return programs;
}

// What a spreadsheet makes of the exported CSV: no BOM, LF, every field quoted, TRUE/FALSE
// flags, hours without their leading zero, an empty column at the end of each row and a
// blank line at the end.
QByteArray asSpreadsheetSavesIt(const QByteArray& csv) {
    QString text = QString::fromUtf8(csv.mid(3));
    QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QStringList header = lines.first().split(QLatin1Char(','));
    QStringList out;
    for (const QString& line : lines) {
        QStringList fields = line.split(QLatin1Char(','));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const ColumnKind kind = columnKind(header[i]);
            if (&line != &lines.first() && kind == ColumnKind::Flag)
                fields[i] = fields[i] == QLatin1String("1") ? QStringLiteral("TRUE")
                                                            : QStringLiteral("FALSE");
            if (kind == ColumnKind::Time && fields[i].startsWith(QLatin1Char('0')))
                fields[i] = fields[i].mid(1);
            fields[i] = QLatin1Char('"') + fields[i] + QLatin1Char('"');
        }
        out.append(fields.join(QLatin1Char(',')) + QStringLiteral(","));
    }
    return (out.join(QLatin1Char('\n')) + QStringLiteral("\n\n")).toUtf8();
}

class InterchangeTest : public PlayerDbTest {
protected:
    QSqlDatabase db() const { return module.database(); }
    ProgramStore store() const { return ProgramStore(db()); }

    void store(const QList<ProgramRecord>& programs) {
        ASSERT_TRUE(store().insertAll(ProgramTable::MusicTab, programs));
    }
    QList<ProgramRecord> stored() const {
        return withoutIds(programsForExport(db(), ProgramTable::MusicTab, std::nullopt).value());
    }
    ImportResult import(const QByteArray& bytes, InterchangeFormat format = InterchangeFormat::Csv,
                        ImportOptions options = {}) {
        return importPrograms(db(), bytes, format, options);
    }
};

// One exported program as a CSV file: header and row, with `change` applied to the row's
// fields by column name.
QByteArray csvWith(const QList<std::pair<QString, QString>>& changes,
                   const ProgramRecord& program = sampleProgram(1, "001", 8)) {
    QStringList fields = columnTexts(program);
    for (const auto& [column, value] : changes)
        fields[programColumns().indexOf(column)] = value;
    return (programColumns().join(QLatin1Char(',')) + QStringLiteral("\r\n") +
            fields.join(QLatin1Char(',')) + QStringLiteral("\r\n"))
        .toUtf8();
}

// The same as a JSON array of one object; the values are written into it as they are given.
QByteArray jsonWith(const QList<std::pair<QString, QString>>& changes,
                    const ProgramRecord& program = sampleProgram(1, "001", 8)) {
    QByteArray json = writeJson({program});
    for (const auto& [column, value] : changes) {
        const QRegularExpression field("(\"" + column + "\": )(\"[^\"]*\"|[^,}]*)");
        json = QString::fromUtf8(json).replace(field, "\\1" + value).toUtf8();
    }
    return json;
}

QStringList texts(const QList<ImportProblem>& problems) {
    QStringList lines;
    for (const auto& problem : problems)
        lines.append(problem.text());
    return lines;
}

} // namespace

TEST_F(InterchangeTest, ExportedProgramsComeBackFieldForField) {
    const QList<ProgramRecord> programs = fourSets();
    store(programs);
    ASSERT_EQ(stored(), withoutIds(programs));
    const QList<ProgramRecord> exported = stored();

    const QByteArray csv = writeCsv(exported);
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBFOrderNo,KSTime,JSTime,JMTaoNo,YXCX,MP3,ShouYin,"));
    EXPECT_TRUE(csv.contains("\r\n001,07:00:00,07:30:00,第一套,,1,0,1,0,7,0,0,7,30,0,1,1,1,1,1,0,"
                             "0,110,000,000,000,000,000,20,1,0"));
    const QByteArray json = writeJson(exported);
    EXPECT_TRUE(json.contains("{\"OrderNo\": \"001\", \"KSTime\": \"07:00:00\", \"JSTime\": "
                              "\"07:30:00\", \"JMTaoNo\": \"第一套\", \"YXCX\": \"\", \"MP3\": "
                              "true, \"ShouYin\": false, \"YuRe\": 1, \"YuanShi\": 0, \"KS1\": 7"));
    EXPECT_TRUE(json.contains("\"YuRe\": null")) << "a pre-heat never written";

    const std::pair<const char*, std::pair<QByteArray, InterchangeFormat>> files[] = {
        {"csv", {csv, InterchangeFormat::Csv}},
        {"json", {json, InterchangeFormat::Json}},
        {"csv from a spreadsheet", {asSpreadsheetSavesIt(csv), InterchangeFormat::Csv}},
    };
    for (const auto& [name, file] : files) {
        ASSERT_TRUE(store().deleteAll(ProgramTable::MusicTab));
        const auto result = import(file.first, file.second);
        EXPECT_TRUE(result.succeeded())
            << name << ": " << texts(result.problems).join('\n').toStdString()
            << result.error.toStdString();
        EXPECT_EQ(result.imported, programs.size()) << name;
        EXPECT_EQ(stored(), exported) << name;
    }
}

// What the player or an older version left in the table goes out and comes back as it was:
// two programs of one class starting together on different weekdays, the ends of the editor's
// volume list, the player's own volumes (39, 255) and order number 000, and MP3 and ShouYin
// stored NULL, written as the load sends them (a radio program).
TEST_F(InterchangeTest, WhatThePlayerOrAnOlderVersionLeftComesBackUnchanged) {
    ProgramRecord monday = sampleProgram(1, "000", 8);
    monday.Week = {true, false, false, false, false, false, false};
    monday.YinLiang = 39;
    ProgramRecord tuesday = sampleProgram(1, "001", 8, "002");
    tuesday.Week = {false, true, false, false, false, false, false};
    tuesday.YinLiang = 38;
    ProgramRecord loud = sampleProgram(2, "001", 9);
    loud.YinLiang = 255;
    ProgramRecord older = sampleProgram(2, "002", 10);
    older.YinLiang = 0;
    store({monday, tuesday, loud, older});
    rawExec("UPDATE MusicTab SET MP3 = NULL, ShouYin = NULL WHERE JMTaoNo = ? AND OrderNo = ?",
            {setLabel(2), "002"});

    const QList<ProgramRecord> first = stored();
    for (const InterchangeFormat format : {InterchangeFormat::Csv, InterchangeFormat::Json})
        for (const bool replace : {false, true}) {
            const QByteArray exported = writePrograms(first, format);
            if (!replace)
                ASSERT_TRUE(store().deleteAll(ProgramTable::MusicTab));
            const auto result = import(exported, format, {std::nullopt, replace});
            ASSERT_TRUE(result.succeeded())
                << texts(result.problems).join('\n').toStdString() << result.error.toStdString();
            QList<ProgramRecord> expected = first;
            expected.last().MP3 = false; // as the load sends the pair
            expected.last().ShouYin = true;
            EXPECT_EQ(stored(), expected) << "field by field";
            EXPECT_EQ(writePrograms(stored(), format), exported);
        }
    EXPECT_EQ(columnTexts(first.last()).mid(5, 2), (QStringList{"0", "1"}))
        << "exported as the load sends it";
}

TEST_F(InterchangeTest, AFileWithoutProgramsIsRefusedBeforeAnythingHappens) {
    const ProgramRecord kept = sampleProgram(1, "001", 8);
    store({kept});
    const QByteArray header = programColumns().join(',').toUtf8();
    const std::pair<const char*, std::pair<QByteArray, InterchangeFormat>> files[] = {
        {"header only", {header + "\r\n", InterchangeFormat::Csv}},
        {"header and blank lines",
         {"\xEF\xBB\xBF\n" + header + "\n\n,,,\n", InterchangeFormat::Csv}},
        {"empty", {"", InterchangeFormat::Csv}},
        {"empty array", {" [ ]\n", InterchangeFormat::Json}},
        {"empty JSON", {"\n", InterchangeFormat::Json}},
    };
    for (const auto& [name, file] : files)
        for (const bool replace : {false, true}) {
            bool asked = false;
            const auto result = importPrograms(db(), file.first, file.second, {1, replace},
                                               [&](QString*) { return asked = true; });
            EXPECT_EQ(result.refusal, "文件中没有程序，未导入。") << name;
            EXPECT_FALSE(result.succeeded()) << name;
            EXPECT_FALSE(asked) << name << ": no backup for an import that adds nothing";
            EXPECT_EQ(stored(), withoutIds({kept})) << name;
        }
}

// Spreadsheets of other locales separate by semicolons or tabs, and a Chinese spreadsheet's
// plain CSV is GB18030.
TEST_F(InterchangeTest, SpreadsheetFilesOfOtherLocalesAndEncodingsImport) {
    ProgramRecord priority = sampleProgram(3, "001", 8);
    priority.YXCX = priorityMarker();
    const QList<ProgramRecord> programs{sampleProgram(2, "001", 7), priority};
    const QByteArray csv = writeCsv(programs);
    const QString text = QString::fromUtf8(csv.mid(3));
    QStringEncoder gb18030("GB18030");
    ASSERT_TRUE(gb18030.isValid());
    const struct {
        const char* name;
        QByteArray bytes;
        InterchangeFormat format;
        bool readAsGb18030;
    } files[] = {
        {"semicolons", QString(text).replace(',', ';').toUtf8(), InterchangeFormat::Csv, false},
        {"tabs", QString(text).replace(',', '\t').toUtf8(), InterchangeFormat::Csv, false},
        {"UTF-8 without a BOM", text.toUtf8(), InterchangeFormat::Csv, false},
        {"GB18030 with semicolons", gb18030.encode(QString(text).replace(',', ';')),
         InterchangeFormat::Csv, true},
        {"GB18030 JSON", gb18030.encode(QString::fromUtf8(writeJson(programs))),
         InterchangeFormat::Json, true},
    };
    for (const auto& file : files) {
        ASSERT_TRUE(store().deleteAll(ProgramTable::MusicTab));
        ASSERT_NE(file.bytes.contains("第三套"), file.readAsGb18030) << file.name;
        const auto result = import(file.bytes, file.format);
        EXPECT_TRUE(result.succeeded())
            << file.name << ": " << texts(result.problems).join('\n').toStdString();
        EXPECT_EQ(result.readAsGb18030, file.readAsGb18030) << file.name;
        EXPECT_EQ(stored(), programs) << file.name;
    }
}

TEST_F(InterchangeTest, AFileTooLargeForAScheduleIsRefusedBeforeItIsRead) {
    QFile big(dir.filePath("big.csv"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(50 * 1000 * 1000)); // sparse
    big.close();
    QElapsedTimer timer;
    timer.start();
    const ImportFile file = readImportFile(big.fileName());
    EXPECT_FALSE(file.bytes);
    EXPECT_EQ(file.error,
              "文件" + big.fileName() + "有47.7 MB，不是节目文件（节目文件不超过8 MB），未导入。");
    // A device or a pipe has no size to look at: it is read only up to the limit.
    const ImportFile endless = readImportFile("/dev/zero");
    EXPECT_FALSE(endless.bytes);
    EXPECT_EQ(endless.error, "文件/dev/zero大于8 MB，不是节目文件，未导入。");
    EXPECT_LT(timer.elapsed(), 5000);

    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(MaxImportFileBytes));
    big.close();
    EXPECT_EQ(readImportFile(big.fileName()).bytes.value_or("").size(), MaxImportFileBytes);
}

TEST_F(InterchangeTest, FormatFollowsTheNameElseTheContent) {
    EXPECT_EQ(formatOf("a.JSON", "x"), InterchangeFormat::Json);
    EXPECT_EQ(formatOf("a.csv", "[]"), InterchangeFormat::Csv);
    EXPECT_EQ(formatOf("a.txt", "\xEF\xBB\xBF \n [{}]"), InterchangeFormat::Json);
    EXPECT_EQ(formatOf("a", "OrderNo,KSTime"), InterchangeFormat::Csv);
}

struct BadFile {
    const char* why;
    QByteArray bytes;
    InterchangeFormat format;
    QStringList problems;
};

TEST_F(InterchangeTest, EveryBadRowIsNamedAndNothingIsWritten) {
    const ProgramRecord kept = sampleProgram(2, "001", 9);
    store({kept});
    const QByteArray header = programColumns().join(QLatin1Char(',')).toUtf8() + "\r\n";
    const auto row = [](const QList<std::pair<QString, QString>>& changes,
                        const ProgramRecord& p = sampleProgram(1, "001", 8)) {
        return csvWith(changes, p).split('\n')[1] + '\n';
    };
    QByteArray full = header;
    for (int i = 0; i < 1000; ++i) {
        ProgramRecord p = sampleProgram(3, "", i / 60 % 24);
        p.KS2 = i % 60;
        p.KS3 = i / 1440;
        p.KSTime = QTime();
        full += row({}, p);
    }
    const QByteArray valid = row({});
    const BadFile cases[] = {
        {"hour over 23",
         csvWith({{"KS1", "24"}, {"KSTime", ""}}),
         InterchangeFormat::Csv,
         {"第2行：开始时间小时不能大于23"}},
        {"empty minute",
         csvWith({{"KS2", ""}}),
         InterchangeFormat::Csv,
         {"第2行：开始时间分钟不能为空！"}},
        {"end second",
         csvWith({{"JS3", "60"}, {"JSTime", ""}}),
         InterchangeFormat::Csv,
         {"第2行：结束时间秒钟不能大于59！"}},
        {"empty volume",
         csvWith({{"YinLiang", ""}}),
         InterchangeFormat::Csv,
         {"第2行：音量不能为空！"}},
        {"volume over a byte",
         csvWith({{"YinLiang", "256"}}),
         InterchangeFormat::Csv,
         {"第2行：音量256超出0-255"}},
        {"negative volume",
         csvWith({{"YinLiang", "-1"}}),
         InterchangeFormat::Csv,
         {"第2行：音量-1超出0-255"}},
        {"volume that is no whole number",
         csvWith({{"YinLiang", "2.5"}}),
         InterchangeFormat::Csv,
         {"第2行：音量“2.5”不是0-255的整数"}},
        {"a NUL in a volume, which a number would be read up to",
         csvWith({{"YinLiang", QString("2") + QChar(0) + "5"}}),
         InterchangeFormat::Csv,
         {"第2行：YinLiang“2\\05”含有控制字符"}},
        {"a NUL in a text: the message goes on after it",
         csvWith({{"JMTaoNo", QString("第一套") + QChar(0) + "x"}}),
         InterchangeFormat::Csv,
         {"第2行：JMTaoNo“第一套\\0x”含有控制字符"}},
        {"a quoted line end: the message stays on one line",
         csvWith({{"QuMu2", "\"1\n2\""}}),
         InterchangeFormat::Csv,
         {"第2行：QuMu2“1\\n2”含有控制字符"}},
        {"a line end far into a value is escaped before the cut; the lines count on",
         csvWith({{"QuMu3", "\"" + QString(39, '1') + "\r\n2\""}}) +
             row({{"KS1", "24"}, {"KSTime", ""}}),
         InterchangeFormat::Csv,
         {"第2行：QuMu3“" + QString(39, '1') + "\\r…”含有控制字符",
          "第4行：开始时间小时不能大于23"}},
        {"control characters escaped from JSON",
         jsonWith({{"QuMu1", "\"1\\u001b\\u2028\\t\""}}),
         InterchangeFormat::Json,
         {"第1个程序：QuMu1“1\\x1b\\u2028\\t”含有控制字符"}},
        {"both MP3 and radio",
         csvWith({{"MP3", "1"}, {"ShouYin", "1"}}),
         InterchangeFormat::Csv,
         {"第2行：MP3“1”与ShouYin“1”应一个为1、一个为0（MP3或收音）"}},
        {"neither MP3 nor radio",
         csvWith({{"MP3", "0"}, {"ShouYin", ""}}),
         InterchangeFormat::Csv,
         {"第2行：MP3“0”与ShouYin“”应一个为1、一个为0（MP3或收音）"}},
        {"a long value is quoted by its first 40 characters",
         csvWith({{"JMTaoNo", QString(400, 'x')}}),
         InterchangeFormat::Csv,
         {"第2行：JMTaoNo“" + QString(40, 'x') + "…”不是第一套至第四套之一"}},
        {"track the load cannot send",
         csvWith({{"QuMu1", "1a"}}),
         InterchangeFormat::Csv,
         {"第2行：曲目QuMu1“1a”不是三位以内的数字"}},
        {"unknown set",
         csvWith({{"JMTaoNo", "第五套"}}),
         InterchangeFormat::Csv,
         {"第2行：JMTaoNo“第五套”不是第一套至第四套之一"}},
        {"no weekday",
         csvWith({{"Week1", "0"},
                  {"Week2", "0"},
                  {"Week3", "FALSE"},
                  {"Week4", ""},
                  {"Week5", "false"}}),
         InterchangeFormat::Csv,
         {"第2行：播放星期不能全部为空！"}},
        {"duplicate within the file",
         header + valid + row({{"YinLiang", "5"}, {"Week1", "0"}}),
         InterchangeFormat::Csv,
         {"第3行：输入任务已存在，请重新设置！"}},
        {"duplicate of a kept program",
         csvWith({}, sampleProgram(2, "", 9)),
         InterchangeFormat::Csv,
         {"第2行：输入任务已存在，请重新设置！"}},
        {"a 1000th program",
         full,
         InterchangeFormat::Csv,
         {"第1001行：[第三套]已有999个程序，无法再增加！"}},
        {"wrong column count",
         header + valid.left(valid.lastIndexOf(',')) + "\n",
         InterchangeFormat::Csv,
         {"第2行：有60列，应为61列"}},
        {"flag neither true nor false",
         csvWith({{"FQ3", "yes"}}),
         InterchangeFormat::Csv,
         {"第2行：FQ3“yes”应为TRUE/FALSE或1/0"}},
        {"time column that disagrees",
         csvWith({{"KSTime", "8:00:01"}}),
         InterchangeFormat::Csv,
         {"第2行：KSTime“8:00:01”与KS1-KS3不一致"}},
        {"order number",
         csvWith({{"OrderNo", "1b"}}),
         InterchangeFormat::Csv,
         {"第2行：序号OrderNo“1b”不是三位以内的数字"}},
        {"negative hour",
         csvWith({{"KS1", "-1"}}),
         InterchangeFormat::Csv,
         {"第2行：KS1“-1”不是数字"}},
        {"unclosed quote",
         header + valid + "\"001,\n",
         InterchangeFormat::Csv,
         {"第3行：引号未闭合"}},
        {"missing column", "OrderNo,KSTime\r\n", InterchangeFormat::Csv, {"第1行：缺少列“JSTime”"}},
        {"neither UTF-8 nor GB18030",
         header + valid + "\xFF\xFE" + valid,
         InterchangeFormat::Csv,
         {"第3行：不是UTF-8或GB18030编码的文本"}},
        {"header with an unknown name",
         QByteArray("OrderNo;KSTime;") + QByteArray(400, 'y') + "\r\n" + valid,
         InterchangeFormat::Csv,
         {"第1行：未知的列“" + QString(40, 'y') + "…”"}},
        {"header with a control character",
         "OrderNo;KSTime;Ab\x01\r\n" + valid,
         InterchangeFormat::Csv,
         {"第1行：未知的列“Ab\\x01”"}},
        {"header cut by no separator a spreadsheet writes",
         programColumns().join('|').toUtf8() + "\r\n",
         InterchangeFormat::Csv,
         {"第1行：表头“OrderNo|KSTime|JSTime|JMTaoNo|YXCX|MP3|"
          "S…”不是以逗号、分号或制表符分隔的列名"}},
        {"malformed JSON",
         "[\n{\"OrderNo\": \"001\",\n}",
         InterchangeFormat::Json,
         {"第3行：JSON格式错误：字段名应为带引号的文本"}},
        {"JSON element",
         "[{\"OrderNo\": 1}, 5, {\"OrderNo\": [1]}, {\"MP3\": 1, \"MP3\": 0}]",
         InterchangeFormat::Json,
         {"第1个程序：缺少字段“KSTime”", "第2个程序：不是程序对象",
          "第3个程序：字段“OrderNo”不是文本、数字或布尔值", "第4个程序：字段“MP3”重复"}},
        {"JSON number named as written",
         jsonWith({{"YinLiang", "1e300"}, {"KS1", "8.0"}}),
         InterchangeFormat::Json,
         {"第1个程序：音量“1e300”不是0-255的整数"}},
        {"JSON number in its every part, named as written",
         jsonWith({{"YinLiang", "-0.50E+2"}}),
         InterchangeFormat::Json,
         {"第1个程序：音量“-0.50E+2”不是0-255的整数"}},
        {"JSON number cut short",
         jsonWith({{"YinLiang", "1."}}),
         InterchangeFormat::Json,
         {"第2行：JSON格式错误：无效的数字"}},
        {"JSON after the array",
         "[]\n[]",
         InterchangeFormat::Json,
         {"第2行：JSON格式错误：数组之后还有内容"}},
        {"JSON nested past any program",
         "[" + QByteArray(100, '[') + QByteArray(100, ']') + "]",
         InterchangeFormat::Json,
         {"第1行：JSON格式错误：嵌套过深"}},
    };
    for (const BadFile& bad : cases) {
        const auto result = import(bad.bytes, bad.format);
        EXPECT_EQ(texts(result.problems), bad.problems) << bad.why;
        EXPECT_EQ(stored(), withoutIds({kept})) << bad.why;
    }
}

TEST_F(InterchangeTest, ImportAddsOrReplacesAndNumbersTheSetsByStartTime) {
    store({sampleProgram(1, "001", 10), sampleProgram(1, "002", 12), sampleProgram(2, "001", 9)});
    // A priority program may share a start with a normal one; an end before the start passes.
    ProgramRecord early = sampleProgram(4, "", 11);
    ProgramRecord priority = sampleProgram(4, "", 10);
    priority.YXCX = priorityMarker();
    priority.JS1 = 2;
    priority.JSTime = timeOfDay(2, 30, 0);
    const QByteArray file = writeCsv({early, priority});

    auto result = import(file, InterchangeFormat::Csv, {1, false});
    ASSERT_TRUE(result.succeeded()) << texts(result.problems).join('\n').toStdString();
    EXPECT_EQ(result.imported, 2);
    QStringList order;
    const auto set1 = store().programsOfSet(ProgramTable::MusicTab, setLabel(1)).value();
    for (const ProgramRecord& p : set1)
        order.append(p.OrderNo + formatTimeOfDay(p.KSTime) + p.YXCX);
    EXPECT_EQ(order, (QStringList{"00110:00:00", "00210:00:00优先", "00311:00:00", "00412:00:00"}));

    result = import(file, InterchangeFormat::Csv, {2, true});
    ASSERT_TRUE(result.succeeded());
    const auto set2 = store().programsOfSet(ProgramTable::MusicTab, setLabel(2)).value();
    ASSERT_EQ(set2.size(), 2) << "the program at nine is gone";
    EXPECT_EQ(set2[0].OrderNo + formatTimeOfDay(set2[0].KSTime), "00110:00:00");

    result = import(file, InterchangeFormat::Csv, {std::nullopt, true});
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(store().programsOfSet(ProgramTable::MusicTab, setLabel(4)).value().size(), 2);
    EXPECT_EQ(store().count(ProgramTable::MusicTab), 8) << "sets 1 and 2 untouched";

    // A set the file fills alone keeps the file's numbers, each given, none twice and none past
    // what the load sends (a spreadsheet's "9" is 009); otherwise it is numbered by start time.
    const auto set3 = [&] {
        QStringList numbers;
        const auto programs = store().programsOfSet(ProgramTable::MusicTab, setLabel(3)).value();
        for (const ProgramRecord& p : programs)
            numbers.append(p.OrderNo + formatTimeOfDay(p.KSTime));
        return numbers;
    };
    early.OrderNo = "9";
    priority.OrderNo = "004";
    ASSERT_TRUE(import(writeCsv({early, priority}), InterchangeFormat::Csv, {3, true}).succeeded());
    EXPECT_EQ(set3(), (QStringList{"00410:00:00", "00911:00:00"}));
    for (const char* number : {"009", "256"}) {
        priority.OrderNo = number;
        ASSERT_TRUE(
            import(writeCsv({early, priority}), InterchangeFormat::Csv, {3, true}).succeeded());
        EXPECT_EQ(set3(), (QStringList{"00110:00:00", "00211:00:00"})) << number;
    }
}

TEST_F(InterchangeTest, AStopBeforeWritingLeavesEverythingAsItWas) {
    store({sampleProgram(1, "001", 10)});
    bool asked = false;
    const auto result =
        importPrograms(db(), csvWith({}), InterchangeFormat::Csv, {1, true}, [&](QString* error) {
            asked = true;
            *error = QStringLiteral("no backup");
            return false;
        });
    EXPECT_TRUE(asked);
    EXPECT_EQ(result.error, "no backup");
    EXPECT_EQ(stored(), withoutIds({sampleProgram(1, "001", 10)}));

    asked = false;
    const auto refused = importPrograms(db(), csvWith({{"KS1", "30"}}), InterchangeFormat::Csv, {},
                                        [&](QString*) { return asked = true; });
    EXPECT_FALSE(asked) << "asked only once every row passed";
    EXPECT_FALSE(refused.succeeded());
}

// The sample weeks go through the real import without a refusal, side by side in one database,
// from where a build lays them for the editor's import dialog.
TEST_F(InterchangeTest, TheSampleWeeksImportWithoutARefusal) {
    const QString folder = sampleFolder(TESSALY_BUILD_BIN);
    ASSERT_FALSE(folder.isEmpty());
    struct Sample {
        const char* file;
        const char* set;
        int programs;
        int radio;
    };
    for (const Sample& sample : {Sample{"学校作息（周一至周五）.csv", "第一套", 30, 2},
                                 Sample{"工厂三班倒.csv", "第二套", 24, 0}}) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(sample.file));
        const ImportFile file = readImportFile(path);
        ASSERT_TRUE(file.bytes) << file.error.toStdString();
        const ImportResult result = import(*file.bytes, formatOf(path, *file.bytes));
        QStringList problems;
        for (const ImportProblem& problem : result.problems)
            problems.append(problem.text());
        EXPECT_TRUE(result.succeeded())
            << sample.file << problems.join('\n').toStdString() << result.refusal.toStdString();
        EXPECT_EQ(result.imported, sample.programs) << sample.file;
        const auto programs = store().programsOfSet(ProgramTable::MusicTab, sample.set).value();
        EXPECT_EQ(programs.size(), sample.programs) << sample.file;
        EXPECT_EQ(std::count_if(programs.begin(), programs.end(),
                                [](const ProgramRecord& p) { return p.ShouYin; }),
                  sample.radio)
            << sample.file;
    }
}
