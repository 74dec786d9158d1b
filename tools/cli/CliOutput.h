#pragma once

#include "Prompter.h"

#include <QString>

#include <cstdio>

namespace tessaly::cli {

// What a command says. The final message (the text a window would show in a box or a label)
// goes to standard output; progress and diagnostics go to standard error, as a line per step,
// or as one redrawn bar when standard error is a terminal.
class CliOutput {
public:
    CliOutput(std::FILE* out = stdout, std::FILE* err = stderr);

    // One line on standard output.
    void message(const QString& text);
    // One line on standard error.
    void info(const QString& text);
    // `done` of `total` steps of `what` (for example "第二套").
    void progress(const QString& what, int done, int total);

    bool barsOnStandardError() const { return m_bars; }

    // The command's status, made a failure (with the reason on standard error) when a line
    // did not reach standard output, a full disk behind a redirection for instance: what
    // goes there is the command's result.
    int checkedStatus(int status);

private:
    void endBar();

    std::FILE* m_out;
    std::FILE* m_err;
    bool m_bars;
    bool m_barOpen = false;
    int m_outError = 0; // errno of the first line that standard output did not take
};

// Message boxes on the command line: a notice is printed as one line on standard output, and
// the cause of a failure, when the box has one, as a line on standard error; a
// question is answered OK without being printed, since a command is the confirmed form of what
// the window asks about.
class LinePrompter final : public Prompter {
public:
    explicit LinePrompter(CliOutput& output) : m_output(output) {}
    MessageBox::Button show(const MessageBox& box) override;

private:
    CliOutput& m_output;
};

} // namespace tessaly::cli
