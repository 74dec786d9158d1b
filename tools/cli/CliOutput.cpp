#include "CliOutput.h"

#include "WholeFile.h"

#include <QCoreApplication>

#include <cerrno>

#include <unistd.h>

namespace tessaly::cli {

namespace {
constexpr int BarWidth = 30;

// 0 when the line went out whole, else why not.
int writeLine(std::FILE* stream, const QString& text) {
    errno = 0;
    // Written by its length: a NUL inside never cuts the line short.
    const QByteArray bytes = text.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) ==
                             std::size_t(bytes.size()) &&
                         std::fputc('\n', stream) != EOF && std::fflush(stream) == 0;
    return written ? 0 : (errno != 0 ? errno : EIO);
}
} // namespace

CliOutput::CliOutput(std::FILE* out, std::FILE* err)
    : m_out(out), m_err(err), m_bars(isatty(fileno(err)) == 1) {}

void CliOutput::message(const QString& text) {
    endBar();
    const int failure = writeLine(m_out, text);
    if (m_outError == 0)
        m_outError = failure;
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

int CliOutput::checkedStatus(int status) {
    errno = 0;
    if (std::fflush(m_out) != 0 && m_outError == 0) // what was written without a line of ours
        m_outError = errno != 0 ? errno : EIO;
    if (status != 0 || (m_outError == 0 && !std::ferror(m_out)))
        return status;
    info(QCoreApplication::translate("Cli", "tessaly-cli：无法写入标准输出：%1")
             .arg(writeFailureText(m_outError != 0 ? m_outError : EIO)));
    return 1;
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
