#include "ImportTypes.h"

#include "ProgramStore.h"

namespace tessaly {

QString lineWhere(int line) {
    return QStringLiteral("line %1").arg(line);
}

QString elementWhere(qsizetype index) {
    return QStringLiteral("element %1").arg(index);
}

const QHash<QString, int>& columnIndex() {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> map;
        for (qsizetype i = 0; i < programColumns().size(); ++i)
            map.insert(programColumns()[i], int(i));
        return map;
    }();
    return index;
}

bool isAutoId(const QString& column) {
    return column == QLatin1String("AutoID");
}

} // namespace tessaly
