#pragma once

#include "Clock.h"
#include "ReadObserver.h"
#include "ReadRequest.h"

#include <QSqlDatabase>
#include <qcoro/qcorotask.h>

namespace tessaly {

class DeviceChannel;
class ProgramStore;
class Prompter;
struct Session;

// What a read works with; all of it outlives the read.
struct ReadContext {
    DeviceChannel& channel;
    Clock& clock;
    Prompter& prompter;
    Session& session;
    QSqlDatabase db;
    ReadLimits limits = {};
    // A window's message of a failed step carries, as its second line, why the port stopped
    // carrying the player's bytes (a server that dropped the connection); the command line
    // prints that line on its own.
    bool messageNamesLossCause = false;

    // `message`, with that cause line where the context asks for it.
    QString failureMessage(const QString& message) const;
};

struct SetReadResult {
    SetReadEnd end = SetReadEnd::ReadFailed;
    int stored = 0;        // programs written to MusicReadTab by this read
    bool headSeen = false; // the reply announced its records
    QString detail;        // why a program could not be stored
};

// Empties MusicReadTab and stores every program of the collected reply, all or none: a
// program that cannot be stored leaves the table empty.
SetReadResult DataAnalyze(ProgramStore& store, std::span<const quint8> bytes,
                          ReadObserver& observer);

// The read of one set into MusicReadTab: probe, pre-heat and delay query, read request,
// collection and decoding, with the message of its end.
QCoro::Task<SetReadResult> readSet(ReadContext context, int set, ReadObserver& observer,
                                   CancelToken cancel = {});

// The probe of a read button: true when the player answered. LinkUp follows the answer.
QCoro::Task<bool> probeForRead(ReadContext& context, ReadObserver& observer, CancelToken cancel);

// The operator's message for an end; empty when there is none.
QString setReadMessage(SetReadEnd end);
// The status line for an end; empty when the end leaves it unchanged.
QString setReadStatus(SetReadEnd end);

} // namespace tessaly
