#include "EditorTesting.h"

#include "PlayerDatabase.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "TestApplication.h"

#include <QApplication>

#include <QCheckBox>
#include <QComboBox>
#include <QInputDevice>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

using namespace tessaly;

void EditorTest::SetUp() {
    testApplication();
    ASSERT_TRUE(folder.isValid());
    QString error;
    ASSERT_TRUE(createPlayerDatabase(folder.filePath(databaseFileName()), &error))
        << error.toStdString();
    ASSERT_TRUE(data.ConnectDatabase(prompter, folder.path()));
}

void EditorTest::TearDown() {
    window.reset();
    clock.advance(5000); // let a cancelled zone timer unwind
    // Key events make Qt create a keyboard owned by the application; it has to go before the
    // device registry is torn down at exit, which happens before the application's own end.
    for (const QInputDevice* device : QInputDevice::devices()) {
        if (device->type() == QInputDevice::DeviceType::Keyboard)
            delete device;
    }
}

qint64 EditorTest::store(const QString& set, QTime start, bool priority,
                         std::array<bool, 7> weekdays, const QString& orderNo) {
    ProgramRecord record = newProgramDefaults();
    record.JMTaoNo = set;
    record.YXCX = priority ? priorityMarker() : QString("");
    record.OrderNo = orderNo;
    record.KS1 = start.hour(), record.KS2 = start.minute(), record.KS3 = start.second();
    record.KSTime = start;
    record.JS1 = 23, record.JS2 = 0, record.JS3 = 0;
    record.JSTime = QTime(23, 0);
    record.Week = weekdays;
    QString error;
    const auto id = ProgramStore(data.database()).insert(ProgramTable::MusicTab, record, &error);
    EXPECT_TRUE(id) << error.toStdString();
    return id.value_or(0);
}

void EditorTest::execute(const QString& sql) {
    QSqlQuery query(data.database());
    EXPECT_TRUE(query.exec(sql)) << sql.toStdString() << query.lastError().text().toStdString();
}

QStringList EditorTest::numbering(const QString& set) {
    QSqlQuery query(data.database());
    query.prepare("select KSTime, OrderNo from MusicTab where JMTaoNo = ? order by KSTime");
    query.addBindValue(set);
    EXPECT_TRUE(query.exec());
    QStringList rows;
    while (query.next())
        rows.append(query.value(0).toString() + "=" + query.value(1).toString());
    return rows;
}

int EditorTest::storedCount(const QString& set) {
    QSqlQuery query(data.database());
    query.prepare("select count(*) from MusicTab where JMTaoNo = ?");
    query.addBindValue(set);
    EXPECT_TRUE(query.exec() && query.next());
    return query.value(0).toInt();
}

QList<ProgramRecord> EditorTest::stored(const QString& set) {
    return ProgramStore(data.database())
        .programsOfSet(ProgramTable::MusicTab, set)
        .value_or(QList<ProgramRecord>());
}

void EditorTest::open() {
    window = std::make_unique<EditorWindow>(clock, prompter, data.database(), session);
    window->show();
}

void EditorTest::reopen() {
    window.reset();
    open();
}

void EditorTest::click(const QString& button) {
    auto* found = control<QPushButton>(button);
    ASSERT_TRUE(found->isVisible() && found->isEnabled()) << button.toStdString();
    found->click();
}

void EditorTest::tick(const QString& box) {
    control<QCheckBox>(box)->click();
}

void EditorTest::setText(const QString& box, const QString& text) {
    if (auto* combo = window->findChild<QComboBox*>(box))
        combo->setEditText(text);
    else
        control<QLineEdit>(box)->setText(text);
}

QString EditorTest::text(const QString& name) {
    if (auto* label = window->findChild<QLabel*>(name))
        return label->text();
    if (auto* combo = window->findChild<QComboBox*>(name))
        return combo->currentText();
    return control<QLineEdit>(name)->text();
}

bool EditorTest::checked(const QString& box) {
    return control<QCheckBox>(box)->isChecked();
}

void EditorTest::setTimes(const QString& start, const QString& end) {
    const QStringList starts = start.split(':');
    const QStringList ends = end.split(':');
    for (int i = 0; i < 3; ++i) {
        setText(QString("edtKS%1").arg(i + 1), starts[i]);
        setText(QString("edtJS%1").arg(i + 1), ends[i]);
    }
}

QString EditorTest::focused() const {
    const QWidget* focus = window->focusWidget();
    // An editable combo box keeps the focus in its line edit.
    if (focus && focus->parentWidget() && qobject_cast<QComboBox*>(focus->parentWidget()))
        focus = focus->parentWidget();
    return focus ? focus->objectName() : QString();
}

QString EditorTest::lastMessage() const {
    return prompter.shown().isEmpty() ? QString() : prompter.shown().last().text;
}

void EditorTest::typeKeys(QWidget* target, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, character.toUpper().unicode(), Qt::NoModifier,
                        QString(character));
        QApplication::sendEvent(target, &press);
    }
}

void EditorTest::pressKey(QWidget* target, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}
