#pragma once

#include "DeviceChannel.h"
#include "PortMap.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace tessaly {

// What the system says about a device that could not be opened as a port. Gathered from the
// system by gatherPortFacts, or given by the tests.
struct PortFacts {
    QString device;           // the device the COM number stands for; empty: none
    bool exists = false;      // the device is there
    int openError = 0;        // errno of opening it; 0 when it opened
    bool notTerminal = false; // it opened but is no terminal (a plain file, say)
    bool lockHeld = false;    // it opened, but another program holds its lock
    QStringList holders;      // "name (pid)" of each process that has it open
    bool brlttyInstalled = false;
    bool characterDevice = true; // false for a plain file, a folder, a FIFO: never a port
    QString group;               // the device's group ("dialout")
    bool inGroup = false;        // this process has the device's group
    bool listedInGroup = false;  // the user is a member of it, from the next login on
    // A pseudo-terminal in exclusive mode whose every holder is its other side: the program
    // that set the mode has ended without leaving it.
    bool staleExclusive = false;
};

// Where gatherPortFacts looks: the process table and the package database. Tests point these
// at folders of their own.
struct SystemPlaces {
    QString proc = QStringLiteral("/proc");
    QString dpkgInfo = QStringLiteral("/var/lib/dpkg/info");
    qint64 ownPid = -1; // left out of the holders; -1: none left out
};

// Tries the device as the serial link would (open, lock) and reads who holds it. The device is
// closed again before this returns.
PortFacts gatherPortFacts(const QString& device, const SystemPlaces& places);

// "name (pid)" of every process whose open files include the device, by /proc/<pid>/fd. The
// name is the program's whole file name, not the kernel's 15 characters of it.
QStringList processesHolding(const QString& device, const QString& procRoot, qint64 ownPid);

// "name (pid)" of every process that holds the other side (the master) of the pseudo-terminal
// /dev/pts/<index>, by the tty-index of its /dev/ptmx descriptors.
QStringList processesHoldingMaster(int index, const QString& procRoot);

// Finds each holder named in a cause line ("minicom（进程 812）"), so that a display can keep
// it on one line.
QRegularExpression holderPattern();

// A Debian package is installed when dpkg keeps its file list.
bool packageInstalled(const QString& package, const QString& dpkgInfo);

// One line, in the operator's language, naming why the port could not be opened and how to
// fix it; empty when no cause can be told.
QString portCauseLine(const PortFacts& facts);

// The cause line for a device of this machine, seen from this process.
QString diagnosePort(const QString& device);

// The cause line after a probe of COM `port` failed: for a local device, only when it did not
// open (an open one is held by this process and would look busy); for a network target, what the
// link knows of its connection.
QString explainProbeFailure(DeviceChannel& channel, const PortMap& portMap, int port, bool opened);

} // namespace tessaly
