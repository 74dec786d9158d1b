#include "CliOutput.h"

#include <unistd.h>

namespace tessaly::cli {

namespace {
constexpr int BarWidth = 30;

void writeLine(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}
} // namespace

CliOutput::CliOutput(std::FILE* out, std::FILE* err)
    : m_out(out), m_err(err), m_bars(isatty(fileno(err)) == 1) {}

void CliOutput::message(const QString& text) {
    endBar();
    writeLine(m_out, text);
}

void CliOutput::info(const QString& text) {
    endBar();
    writeLine(m_err, text);
}

void CliOutput::progress(const QString& what, int done, int total) {
    const QString counts = QStringLiteral("%1 %2/%3").arg(what).arg(done).arg(total);
    if (!m_bars) {
        writeLine(m_err, counts);
        return;
    }
    const int filled = total > 0 ? BarWidth * qBound(0, done, total) / total : BarWidth;
    const QString bar =
        QString(filled, QLatin1Char('#')) + QString(BarWidth - filled, QLatin1Char(' '));
    std::fprintf(m_err, "\r[%s] %s", bar.toUtf8().constData(), counts.toUtf8().constData());
    std::fflush(m_err);
    m_barOpen = true;
    if (done >= total)
        endBar();
}

void CliOutput::endBar() {
    if (!m_barOpen)
        return;
    std::fputc('\n', m_err);
    std::fflush(m_err);
    m_barOpen = false;
}

MessageBox::Button LinePrompter::show(const MessageBox& box) {
    if (box.buttons.contains(MessageBox::Button::Cancel))
        return MessageBox::Button::Ok;
    m_output.message(box.text);
    if (!box.details.isEmpty())
        m_output.info(box.details);
    return MessageBox::Button::Ok;
}

} // namespace tessaly::cli
