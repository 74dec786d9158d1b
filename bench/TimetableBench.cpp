// The weekly timetable of a set of 999 programs: the layout of its blocks, and the page painted
// and written as a PNG (and as a PDF, for comparison); and on the window's week of a full player
// set (255 programs) the live feedback of a drag and the frame of a resize.
#include "BenchDatabase.h"
#include "ProgramSet.h"
#include "TimetableWindow.h"
#include "WeekLayout.h"
#include "WeekPicture.h"
#include "WeekView.h"
#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
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
BENCHMARK(BM_LayOutWeek)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_PaintWeekPng(benchmark::State& state) {
    const WeekSheet sheet = fullSet();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("week.png"));
    const QDateTime printed = QDateTime::currentDateTime();
    for (auto _ : state)
        if (!writeWeekPng(path, sheet, printed))
            state.SkipWithError("the PNG was not written");
}
BENCHMARK(BM_PaintWeekPng)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

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
BENCHMARK(BM_PaintWeekImage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_WriteWeekPdf(benchmark::State& state) {
    const WeekSheet sheet = fullSet();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("week.pdf"));
    const QDateTime printed = QDateTime::currentDateTime();
    for (auto _ : state)
        if (!writeWeekPdf(path, {sheet}, printed))
            state.SkipWithError("the PDF was not written");
}
BENCHMARK(BM_WriteWeekPdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// A player set at its fullest: 255 programs, every other one on all seven days.
WeekSheet fullPlayerSet() {
    WeekSheet sheet = fullSet();
    sheet.programs.resize(255);
    for (int i = 0; i < 255; ++i) {
        ProgramRecord& p = sheet.programs[i];
        p.KSTime = QTime(0, 0).addSecs(i * 338);
        p.JSTime = p.KSTime.addSecs(i % 3 == 0 ? 3600 : 600);
        p.KS1 = p.KSTime.hour(), p.KS2 = p.KSTime.minute(), p.KS3 = p.KSTime.second();
        p.JS1 = p.JSTime.hour(), p.JS2 = p.JSTime.minute(), p.JS3 = p.JSTime.second();
    }
    return sheet;
}

void sendMouse(QWidget& view, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, view.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, {});
    QApplication::sendEvent(&view, &event);
}

// One pick and one frame of a drag on the window's week: the press finds the block under the
// pointer, the move shifts the program's seven blocks and the view repaints what changed.
void BM_DragFeedback(benchmark::State& state) {
    WeekView view;
    view.resize(1160, 800); // the week's part of the timetable window
    view.setSheet(fullPlayerSet());
    view.setEditable(true);
    view.show();
    QCoreApplication::processEvents();
    // A program of all seven days in the middle of the day.
    int block = 0;
    const auto& blocks = view.picture().layout().blocks;
    while (view.picture().sheet().programs[blocks[block].program].KSTime < QTime(12, 0) ||
           !view.picture().sheet().programs[blocks[block].program].Week[6])
        ++block;
    const QPoint from = view.blockRect(block).center();
    int step = 0;
    for (auto _ : state) {
        sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
        sendMouse(view, QEvent::MouseMove, from + QPoint(0, 30 + step++ % 20), Qt::LeftButton);
        QCoreApplication::processEvents(); // the repaint
        if (!view.isDragging())
            state.SkipWithError("the block was not dragged");
        state.PauseTiming();
        sendMouse(view, QEvent::MouseButtonRelease, from, Qt::NoButton);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DragFeedback)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// Counts the paints of a widget.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// One step of a window being resized by its corner: the week's text size found again for the
// new size, its labels placed and the week painted. Each step is a size not seen for a while,
// as in a real resize, so that nothing placed for an earlier size is reused.
void BM_ResizeWeekWindow(benchmark::State& state) {
    bench::BenchDatabase db(fullPlayerSet().programs);
    TimetableWindow window(db.prompter, db.data.database(), ProgramTable::MusicTab, 1);
    window.resize(1180, 860);
    window.show();
    QCoreApplication::processEvents();
    if (window.view()->picture().sheet().programs.size() != 255)
        state.SkipWithError("the week does not hold the 255 programs");
    PaintCounter counter;
    window.view()->installEventFilter(&counter);
    int step = 0;
    for (auto _ : state) {
        ++step;
        const int paints = counter.paints;
        window.resize(1100 + step % 97 * 2, 800 + step % 61 * 2);
        QCoreApplication::processEvents();
        if (counter.paints == paints)
            state.SkipWithError("the resized week was not painted");
    }
}
BENCHMARK(BM_ResizeWeekWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    return tessaly::bench::runWidgetBenchmarks(argc, argv);
}
