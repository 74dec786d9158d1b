// Lays a fresh, empty player database from the schema built into the program.

#include "PlayerDatabase.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tessaly-make-db <path>\n");
        return 2;
    }
    QString error;
    if (!tessaly::createPlayerDatabase(args.at(1), &error)) {
        std::fprintf(stderr, "tessaly-make-db: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
