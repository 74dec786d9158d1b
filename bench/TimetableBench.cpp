// The weekly timetable of a set of 999 programs: the layout of its blocks, and the page painted
// and written as a PNG (and as a PDF, for comparison).
#include "BenchMain.h"
#include "ProgramSet.h"
#include "WeekLayout.h"
#include "WeekPicture.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

// 999 programs 86 s apart over the day, every third one an hour long so that many overlap,
// on every weekday or on the working week, some priority, some radio.
WeekSheet fullSet() {
    WeekSheet sheet{setLabel(1), {}};
    for (int i = 0; i < 999; ++i) {
        ProgramRecord p;
        p.OrderNo = formatOrderNo(i + 1);
        p.JMTaoNo = sheet.setLabel;
        p.YXCX = i % 11 == 0 ? priorityMarker() : QString();
        p.MP3 = i % 4 != 0;
        p.ShouYin = !p.MP3;
        p.KSTime = QTime(0, 0).addSecs(i * 86);
        p.JSTime = p.KSTime.addSecs(i % 3 == 0 ? 3600 : 600);
        p.KS1 = p.KSTime.hour(), p.KS2 = p.KSTime.minute(), p.KS3 = p.KSTime.second();
        p.JS1 = p.JSTime.hour(), p.JS2 = p.JSTime.minute(), p.JS3 = p.JSTime.second();
        for (int day = 0; day < 7; ++day)
            p.Week[day] = i % 2 == 0 || day < 5;
        p.QuMu = {QStringLiteral("001"),
                  QStringLiteral("002"),
                  QString(),
                  QString(),
                  QString(),
                  QString()};
        p.YinLiang = 20;
        sheet.programs.append(p);
    }
    return sheet;
}

void BM_LayOutWeek(benchmark::State& state) {
    const WeekSheet sheet = fullSet();
    for (auto _ : state)
        benchmark::DoNotOptimize(layOutWeek(sheet.programs));
}
BENCHMARK(BM_LayOutWeek)->Unit(benchmark::kMillisecond);

void BM_PaintWeekPng(benchmark::State& state) {
    const WeekSheet sheet = fullSet();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("week.png"));
    const QDateTime printed = QDateTime::currentDateTime();
    for (auto _ : state)
        if (!writeWeekPng(path, sheet, printed))
            state.SkipWithError("the PNG was not written");
}
BENCHMARK(BM_PaintWeekPng)->Unit(benchmark::kMillisecond);

// The painting alone, without the PNG encoding.
void BM_PaintWeekImage(benchmark::State& state) {
    const WeekSheet sheet = fullSet();
    QImage image(1754, 1240, QImage::Format_RGB32);
    const QDateTime printed = QDateTime::currentDateTime();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        WeekPicture(sheet).paintPage(painter, QRectF(image.rect()), printed);
    }
}
BENCHMARK(BM_PaintWeekImage)->Unit(benchmark::kMillisecond);

void BM_WriteWeekPdf(benchmark::State& state) {
    const WeekSheet sheet = fullSet();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("week.pdf"));
    const QDateTime printed = QDateTime::currentDateTime();
    for (auto _ : state)
        if (!writeWeekPdf(path, {sheet}, printed))
            state.SkipWithError("the PDF was not written");
}
BENCHMARK(BM_WriteWeekPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return tessaly::bench::runBenchmarks(argc, argv);
}
