#include "MainWindow.h"
#include "AccessibleText.h"
#include "Backups.h"
#include "DataModule.h"
#include "NetworkPortDialog.h"
#include "NetworkPortSettings.h"
#include "PlayerDatabase.h"
#include "PortDiagnosis.h"
#include "RealClock.h"
#include "RoutedSerialLink.h"
#include "Session.h"
#include "SettingsPanel.h"
#include "SimulatedSerialLink.h"
#include "VirtualClock.h"

#include "EnglishInterface.h"
#include "Language.h"
#include "MachineSettings.h"
#include "MainWindowStart.h"
#include "PlayerProcess.h"
#include "PseudoTerminal.h"
#include "QtPrinters.h"
#include "Ser2Net.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

const QString ProbeFrame = "FE0100FF";

const QString CloseNotice = "FE0200FF";

// Calls back on each paint of the object it filters.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::function<void()> onPaint) : m_onPaint(std::move(onPaint)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            m_onPaint();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onPaint;
};

// The main window over a fresh database, a simulated player on COM1 and virtual time.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        ASSERT_TRUE(folder.isValid());
        QString error;
        ASSERT_TRUE(createPlayerDatabase(folder.filePath(databaseFileName()), &error))
            << error.toStdString();
    }

    void TearDown() override {
        window.reset();
        clock.advance(5000); // let any cancelled sequence unwind
    }

    void create(PlayerOptions options = {}) {
        serial = std::make_unique<SimulatedSerialLink>(clock, options);
        channel = std::make_unique<DeviceChannel>(*serial, session.link);
        window = std::make_unique<MainWindow>(MainWindowServices{clock, *channel, prompter, data,
                                                                 PortMap({{1, "/dev/pts/sim"}}, {}),
                                                                 folder.path() + "/"},
                                              session);
    }

    void start(PlayerOptions options = {}) {
        create(options);
        window->show();
        waitForStart();
    }

    std::optional<bool> waitForStart() {
        const auto outcome = tessaly::testing::waitForStart(*window);
        EXPECT_TRUE(outcome) << "the start did not end";
        return outcome;
    }

    // Runs SQL on the test's database, beside the window's connection.
    void execute(const QString& sql) {
        const QString name = "test-side";
        {
            auto db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(folder.filePath(databaseFileName()));
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec(sql)) << sql.toStdString();
        }
        QSqlDatabase::removeDatabase(name);
    }

    int storedPort() {
        QSqlQuery query(data.database());
        query.exec("select Com from SysTab");
        return query.next() ? query.value(0).toInt() : -1;
    }

    template <typename T = QWidget> T* control(const char* name) {
        auto* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* label) { return control<QLabel>(label)->text(); }
    void click(const char* button) { control<QPushButton>(button)->click(); }
    bool panelShown() { return control("PanSet")->isVisible(); }

    QStringList framesReceived() const {
        QStringList frames;
        for (const auto& frame : serial->player().received())
            frames.append(frame.bytes.toHex().toUpper());
        return frames;
    }

    void runStartupCheck() { clock.advance(MainWindow::StartupCheckDelayMs + 100); }
    void runSettingsTest() {
        click("sbTest");
        clock.advance(1200);
    }

    QTemporaryDir folder;
    VirtualClock clock;
    Session session;
    ScriptedPrompter prompter;
    DataModule data;
    std::unique_ptr<SimulatedSerialLink> serial;
    std::unique_ptr<DeviceChannel> channel;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, LaysOutTheDescribedControls) {
    start();
    EXPECT_EQ(window->windowTitle(), "Tessaly");
    EXPECT_EQ(window->size(), QSize(558, 411));
    const std::vector<std::pair<const char*, QString>> buttons{
        {"sbEdit", "程序编辑"},
        {"sbDown", "程序装载"},
        {"sbRead", "程序读取"},
        {"sbPcDown", "数据同步 电脑->机器"},
        {"sbMachinDown", "数据同步 机器->电脑"},
        {"sbExit", "退出系统"},
        {"sbSet", "设置"},
    };
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(control<QPushButton>(name)->text(), caption) << name;
    EXPECT_EQ(control("sbEdit")->size(), QSize(188, 57));
    EXPECT_EQ(control("sbSet")->size(), QSize(62, 26));
    // Left column edit, load, read; right column the two synchronisations and exit.
    EXPECT_LT(control("sbEdit")->x(), control("sbPcDown")->x());
    EXPECT_EQ(control("sbEdit")->x(), control("sbRead")->x());
    EXPECT_LT(control("sbEdit")->y(), control("sbDown")->y());
    EXPECT_LT(control("sbMachinDown")->y(), control("sbExit")->y());
    EXPECT_FALSE(control("Pan_Mess")->isVisible());
    EXPECT_EQ(text("LabMess"), "正在进行数据同步，将电脑数据装载到机器中，请稍候...");

    auto* ports = control<QComboBox>("cmbCom");
    ASSERT_EQ(ports->count(), 20);
    EXPECT_EQ(ports->itemText(0), "COM1");
    EXPECT_EQ(ports->itemText(19), "COM20");
    EXPECT_EQ(ports->itemData(0, Qt::ToolTipRole).toString(), "/dev/pts/sim");
}

TEST_F(MainWindowTest, StartupCheckFindsAnAnsweringPlayer) {
    start();
    EXPECT_EQ(control<QComboBox>("cmbCom")->currentIndex(), 0);
    clock.advance(599);
    EXPECT_TRUE(framesReceived().isEmpty()) << "the check waits 600 ms";
    runStartupCheck();
    EXPECT_TRUE(session.link.LinkUp);
    EXPECT_FALSE(panelShown());
    ASSERT_EQ(framesReceived(), QStringList{ProbeFrame});
    EXPECT_EQ(serial->player().received()[0].timeMs, 640);
}

TEST_F(MainWindowTest, StartupCheckShowsTheBannerForASilentPlayer) {
    PlayerOptions silent;
    silent.silent = true;
    start(silent);
    runStartupCheck();
    EXPECT_FALSE(session.link.LinkUp);
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(control("PanSet")->geometry(), QRect(63, 77, 437, 56));
    EXPECT_EQ(text("Lbl_Item"), "打开失败，请设置通讯口！");
    EXPECT_EQ(text("Lb_Mess"), "");
}

TEST_F(MainWindowTest, PortThatCannotBeOpenedAtStartup) {
    execute("update SysTab set Com = 7");
    start();
    runStartupCheck();
    EXPECT_EQ(session.link.PortNumber, 7);
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(control("PanSet")->height(), 56);
    EXPECT_EQ(text("Lb_Mess"), "端口打开失败,请点击[测试]");
    EXPECT_EQ(serial->writeCount(), 0);

    click("sbSet");
    EXPECT_EQ(text("Lb_Mess"), "请点击[测试]");
    EXPECT_EQ(control("PanSet")->geometry(), QRect(68, 100, 437, 230));
    EXPECT_EQ(text("Lbl_Item"), "管理软件与节目播放器通讯设置");
    EXPECT_EQ(control<QComboBox>("cmbCom")->currentIndex(), 6);
}

TEST_F(MainWindowTest, PortOutsideTheListIsProbedUnchanged) {
    execute("update SysTab set Com = 0, JM1YR = 12, JM1YS = 4");
    start();
    EXPECT_EQ(control<QComboBox>("cmbCom")->currentIndex(), -1);
    EXPECT_EQ(session.PreheatMinutes, 12);
    EXPECT_EQ(session.DelayMinutes, 4);
    runStartupCheck();
    EXPECT_EQ(session.link.PortNumber, 0);
    EXPECT_TRUE(panelShown());
}

TEST_F(MainWindowTest, WithoutSettingsRowTheDefaultsHold) {
    execute("delete from SysTab");
    start();
    EXPECT_EQ(session.link.PortNumber, 1);
    EXPECT_EQ(control<QComboBox>("cmbCom")->currentIndex(), -1);
    runStartupCheck();
    EXPECT_TRUE(session.link.LinkUp);

    click("sbSet");
    control<QComboBox>("cmbCom")->setCurrentIndex(0);
    runSettingsTest();
    click("sbSave");
    ASSERT_FALSE(prompter.shownTexts().isEmpty());
    EXPECT_NE(prompter.shownTexts().last(), "保存成功！") << "nothing was saved";
    EXPECT_TRUE(prompter.shownTexts().last().contains("保存失败"));
}

TEST_F(MainWindowTest, SaveOnlyAfterASuccessfulTest) {
    execute("update SysTab set Com = 5");
    start();
    runStartupCheck();
    click("sbSet");

    EXPECT_FALSE(control("sbSave")->isEnabled());
    window->settingsPanel()->sbSaveClick(); // the guard holds even without the disabled button
    EXPECT_EQ(prompter.shownTexts(), QStringList{"请选择实际连接的端口，[测试]成功后才允许保存！"});
    EXPECT_EQ(prompter.shown().last().caption, "信息提示：");

    control<QComboBox>("cmbCom")->setCurrentIndex(0);
    EXPECT_FALSE(control("sbSave")->isEnabled());
    runSettingsTest();
    EXPECT_EQ(text("Lb_Mess"), "通讯成功！请点击[保存]");
    EXPECT_TRUE(control("sbSave")->isEnabled());
    EXPECT_TRUE(session.link.LinkUp);
    EXPECT_EQ(session.link.PortNumber, 1);

    click("sbSave");
    EXPECT_EQ(prompter.shownTexts().last(), "保存成功！");
    EXPECT_EQ(storedPort(), 1);
    EXPECT_TRUE(panelShown()) << "the panel stays open after saving";
}

TEST_F(MainWindowTest, ClosingAndReopeningNeedsANewTest) {
    start();
    runStartupCheck();
    click("sbSet");
    runSettingsTest();
    click("sbClose");
    EXPECT_FALSE(panelShown());
    click("sbSet");
    EXPECT_EQ(text("Lb_Mess"), "请点击[测试]");
    EXPECT_TRUE(control("sbSave")->isEnabled()) << "reopening leaves the button as it was";
    click("sbSave");
    EXPECT_EQ(prompter.shownTexts(), QStringList{"请选择实际连接的端口，[测试]成功后才允许保存！"});
}

TEST_F(MainWindowTest, ChangeOfPortAfterATestDisablesSave) {
    start();
    runStartupCheck();
    click("sbSet");
    runSettingsTest();
    control<QComboBox>("cmbCom")->setCurrentIndex(2);
    EXPECT_FALSE(control("sbSave")->isEnabled());
    EXPECT_EQ(text("Lb_Mess"), "请点击[测试]");
}

TEST_F(MainWindowTest, TestOutcomesAndTheCloseQuestion) {
    start();
    runStartupCheck();
    click("sbSet");

    // A port that does not open: the close question, and Cancel keeps the panel.
    control<QComboBox>("cmbCom")->setCurrentIndex(2);
    runSettingsTest();
    EXPECT_EQ(text("Lb_Mess"), "端口打开失败,请点击[测试]");
    EXPECT_TRUE(text("Lb_Cause").startsWith("原因：")) << "COM3 stands for no device";
    EXPECT_EQ(tessaly::testing::labelsNotReadAsShown(window.get()), QStringList{})
        << "labels read as they show";
    EXPECT_EQ(session.link.PortNumber, 3) << "the tested port stays in use";
    EXPECT_FALSE(session.link.LinkUp);
    prompter.answerNext(MessageBox::Button::Cancel);
    click("sbClose");
    EXPECT_EQ(prompter.shownTexts(), QStringList{"播放器与软件通讯尚未连通确实需要关闭吗？"});
    EXPECT_EQ(prompter.shown().last().defaultButton, MessageBox::Button::Cancel);
    EXPECT_TRUE(panelShown());
    click("sbClose");
    EXPECT_FALSE(panelShown());

    // A player that stays silent: the panel closes without a question.
    click("sbSet");
    control<QComboBox>("cmbCom")->setCurrentIndex(0);
    PlayerOptions silent;
    silent.silent = true;
    serial->player().setOptions(silent);
    runSettingsTest();
    EXPECT_EQ(text("Lb_Mess"), "端口打开失败,请选择其他端口！");
    EXPECT_EQ(text("Lb_Cause"), "") << "the port opened";
    click("sbClose");
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(prompter.shown().size(), 2);
}

TEST_F(MainWindowTest, ExitAsksAndEveryCloseSendsTheCloseNotice) {
    start();
    runStartupCheck();
    prompter.answerNext(MessageBox::Button::Cancel);
    click("sbExit");
    EXPECT_EQ(prompter.shownTexts(), QStringList{"确实需要关闭系统吗？"});
    EXPECT_EQ(prompter.shown().last().icon, MessageBox::Icon::Question);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(framesReceived(), QStringList{ProbeFrame}) << "Cancel writes nothing";

    click("sbExit");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(framesReceived(), (QStringList{ProbeFrame, CloseNotice}));
}

TEST_F(MainWindowTest, TitleBarCloseSendsTheCloseNoticeWithoutAQuestion) {
    start();
    runStartupCheck();
    window->close();
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(framesReceived(), (QStringList{ProbeFrame, CloseNotice}));
}

TEST_F(MainWindowTest, CloseDuringTheStartupCheckStopsIt) {
    start();
    clock.advance(300);
    window->close();
    window.reset();
    clock.advance(2000);
    EXPECT_EQ(serial->writeCount(), 0) << "no probe after the window has gone";
}

TEST_F(MainWindowTest, BusyConventionOfTheSynchronisations) {
    PlayerOptions silent;
    silent.silent = true;
    start(silent);
    runStartupCheck();
    ASSERT_TRUE(panelShown());
    const QStringList seven{"sbEdit",       "sbDown", "sbRead", "sbPcDown",
                            "sbMachinDown", "sbSet",  "sbExit"};

    window->beginSynchronisation();
    EXPECT_FALSE(panelShown());
    EXPECT_TRUE(control("Pan_Mess")->isVisible());
    for (const auto& name : seven)
        EXPECT_FALSE(control(qPrintable(name))->isEnabled()) << name.toStdString();

    window->endSynchronisation();
    EXPECT_FALSE(control("Pan_Mess")->isVisible());
    for (const auto& name : seven)
        EXPECT_TRUE(control(qPrintable(name))->isEnabled()) << name.toStdString();
}

// A click while a probe waits for its answer must start nothing: not a second exchange on the
// port, nor a dialog or the editor over a table that a read is about to replace.
TEST_F(MainWindowTest, ClicksDuringAProbeStartNothing) {
    struct Probe {
        const char* name;
        const char* startedBy; // nullptr: the start-up check
        int questions;         // the boxes its own run asks
    };
    const Probe probes[] = {
        {"start-up check", nullptr, 0},
        {"machine to PC", "sbMachinDown", 1},
        {"PC to machine", "sbPcDown", 1},
    };
    const char* seven[] = {"sbEdit",       "sbDown", "sbRead", "sbPcDown",
                           "sbMachinDown", "sbSet",  "sbExit"};
    for (const auto& probe : probes) {
        for (const char* button : seven) {
            SCOPED_TRACE(std::string(probe.name) + ", " + button);
            window.reset();
            clock.advance(5000);
            prompter = ScriptedPrompter();
            start();
            int dialogs = 0;
            QObject::connect(window.get(), &MainWindow::dialogOpened, [&](QWidget* dialog) {
                ++dialogs;
                QTimer::singleShot(0, dialog,
                                   [dialog] { static_cast<QDialog*>(dialog)->reject(); });
            });
            if (probe.startedBy) {
                runStartupCheck();
                click(probe.startedBy);
            } else {
                clock.advance(MainWindow::StartupCheckDelayMs);
            }
            clock.advance(15); // the probe has reopened the port and waits
            const int framesBefore = int(framesReceived().size());
            EXPECT_FALSE(control(button)->isEnabled());
            click(button);
            EXPECT_EQ(framesReceived().size(), framesBefore) << "nothing more went out";
            EXPECT_EQ(dialogs, 0);
            EXPECT_TRUE(control("Pan_Mess")->isHidden() || probe.startedBy);
            EXPECT_TRUE(clock.runUntil([&] { return control("sbExit")->isEnabled(); }, 600000));

            int questions = 0;
            for (const auto& box : prompter.shown())
                questions += box.icon == MessageBox::Icon::Question;
            EXPECT_EQ(questions, probe.questions) << prompter.shownTexts().join(' ').toStdString();
            EXPECT_EQ(framesReceived().count(ProbeFrame), probe.startedBy ? 2 : 1);
            EXPECT_TRUE(window->isVisible());
        }
    }
}

TEST_F(MainWindowTest, NavigationOpensAModalDialogPerClick) {
    start();
    QStringList captions;
    QStringList names;
    QObject::connect(window.get(), &MainWindow::dialogOpened, [&](QWidget* dialog) {
        captions.append(dialog->windowTitle());
        names.append(dialog->objectName());
        EXPECT_TRUE(dialog->isModal());
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
    });
    click("sbEdit");
    click("sbEdit");
    click("sbDown");
    click("sbRead");
    EXPECT_EQ(captions, (QStringList{"程序编辑器", "程序编辑器", "程序装载", "程序读取"}));
    EXPECT_EQ(names.first(), "frmEdit") << "the editor itself, not a placeholder";
    EXPECT_TRUE(window->findChildren<QDialog*>().isEmpty()) << "each dialog is freed on closing";
}

TEST_F(MainWindowTest, BackgroundMenuOpensTheBackupsAndTheComparisonDialogs) {
    start();
    runStartupCheck();
    // The buttons have no such menu; the background and the banner do.
    EXPECT_EQ(window->backgroundMenu(control("sbEdit")->geometry().center()), nullptr);
    EXPECT_EQ(window->backgroundMenu(control("sbSet")->geometry().center()), nullptr);
    QStringList captions;
    QObject::connect(window.get(), &MainWindow::dialogOpened, [&](QWidget* dialog) {
        captions.append(dialog->windowTitle());
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
    });
    for (const QPoint at : {QPoint(540, 395), QPoint(300, 30)}) {
        const auto menu = window->backgroundMenu(at);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 2);
        for (QAction* action : menu->actions()) {
            EXPECT_TRUE(action->isEnabled());
            action->trigger();
        }
        EXPECT_EQ(menu->actions()[0]->text(), "备份与恢复…");
        EXPECT_EQ(menu->actions()[1]->text(), "核对播放器…");
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(captions, (QStringList{"备份与恢复", "核对播放器", "备份与恢复", "核对播放器"}));

    // Neither may share the port or the tables with a synchronisation.
    window->beginSynchronisation();
    const auto duringSynchronisation = window->backgroundMenu(QPoint(540, 395));
    for (QAction* action : duringSynchronisation->actions())
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    window->endSynchronisation();
}

// The restored port, pre-heat and delay are the ones in use at once. Whether the player answers
// on the restored port is not known, and the test of the former port allows no save.
TEST_F(MainWindowTest, RestoreInTheWindowPutsTheRestoredSettingsIntoUse) {
    start();
    runStartupCheck();
    execute("UPDATE SysTab SET Com = 3, JM1YR = 5, JM1YS = 7");
    QString error;
    ASSERT_TRUE(takeBackup(data.database(), "copy", &error)) << error.toStdString();
    execute("UPDATE SysTab SET Com = 1, JM1YR = 0, JM1YS = 0");
    click("sbSet");
    runSettingsTest();
    ASSERT_TRUE(control("sbSave")->isEnabled());

    QObject::connect(window.get(), &MainWindow::dialogOpened, [](QWidget* dialog) {
        dialog->findChild<QTableWidget*>("gridBackups")->selectRow(0);
        dialog->findChild<QPushButton*>("sbRestore")->click();
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
    });
    window->openBackups();
    EXPECT_EQ(prompter.shownTexts().last(), "数据恢复完毕！");
    EXPECT_EQ(session.link.PortNumber, 3);
    EXPECT_FALSE(session.link.LinkUp);
    EXPECT_EQ(session.PreheatMinutes, 5);
    EXPECT_EQ(session.DelayMinutes, 7);
    EXPECT_EQ(control<QComboBox>("cmbCom")->currentIndex(), 2);
    EXPECT_FALSE(control("sbSave")->isEnabled());
    EXPECT_EQ(text("Lb_Mess"), "请点击[测试]");
}

// The window is on the screen before the database is opened and the hidden panels are built;
// its buttons do nothing until then.
TEST_F(MainWindowTest, PaintsBeforeItOpensTheDatabase) {
    create();
    int paintsBeforeStart = 0;
    bool painted = false;
    PaintWatch watch([&painted] { painted = true; });
    window->installEventFilter(&watch);
    QObject::connect(window.get(), &MainWindow::startFinished,
                     [&] { paintsBeforeStart = painted ? 1 : 0; });
    window->show();
    EXPECT_FALSE(data.isConnected());
    EXPECT_EQ(window->settingsPanel(), nullptr);
    EXPECT_FALSE(window->started());
    int dialogs = 0;
    QObject::connect(window.get(), &MainWindow::dialogOpened, [&dialogs](QWidget* dialog) {
        ++dialogs;
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
    });
    click("sbEdit");
    EXPECT_EQ(dialogs, 0) << "the editor does not open before the start";

    EXPECT_EQ(waitForStart(), true);
    EXPECT_EQ(paintsBeforeStart, 1) << "the start runs after the first paint";
    EXPECT_TRUE(window->started());
    EXPECT_TRUE(data.isConnected());
    ASSERT_NE(window->settingsPanel(), nullptr);
}

TEST_F(MainWindowTest, MissingDatabaseEndsTheStart) {
    QFile::remove(folder.filePath(databaseFileName()));
    start();
    EXPECT_FALSE(window->started());
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].text, "连接数据库失败！请设置数据库");
    EXPECT_EQ(prompter.shown()[0].caption, "提示信息");
    EXPECT_EQ(prompter.shown()[0].icon, MessageBox::Icon::None);
    clock.advance(2000);
    EXPECT_EQ(serial->writeCount(), 0) << "no link check follows";
    EXPECT_FALSE(QFile::exists(folder.filePath(databaseFileName())));
}

// The program copied to a folder without a database, as an installed program is, with a data
// folder of its own.
class InstalledProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TESSALY_EXECUTABLE), folder.filePath("tessaly")));
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TESSALY_PROMPTS", "stderr");
        environment.insert("HOME", folder.filePath("home"));
        environment.insert("XDG_DATA_HOME", folder.filePath("data"));
        tessaly.setProcessEnvironment(environment);
    }
    void TearDown() override {
        tessaly.kill();
        tessaly.waitForFinished();
    }
    QString userDatabase() const { return folder.filePath("data/Tessaly/PlayerDB.mdb"); }

    QTemporaryDir folder;
    QProcess tessaly;
};

// A database that is found but cannot be used ends the start as ever; it is not replaced.
TEST_F(InstalledProgramTest, EndsWithAnErrorWhenItsDatabaseIsDamaged) {
    QDir().mkpath(folder.filePath("data/Tessaly"));
    QFile damaged(userDatabase());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    tessaly.start(folder.filePath("tessaly"), {});
    ASSERT_TRUE(tessaly.waitForFinished(30000));
    EXPECT_EQ(tessaly.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tessaly.readAllStandardError())
                    .contains("[提示信息] 连接数据库失败！请设置数据库"));
    EXPECT_EQ(QFileInfo(userDatabase()).size(), 4096);
    EXPECT_FALSE(QFile::exists(folder.filePath("PlayerDB.mdb")));
}

// The box keeps its text; its details say why, with the folder that could not be made.
TEST_F(InstalledProgramTest, ADataFolderThatCannotBeMadeIsNamedInTheBox) {
    QFile blocker(folder.filePath("data")); // a file where the folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    tessaly.start(folder.filePath("tessaly"), {});
    ASSERT_TRUE(tessaly.waitForFinished(30000));
    EXPECT_EQ(tessaly.exitCode(), 1);
    const QString err = QString::fromUtf8(tessaly.readAllStandardError());
    EXPECT_TRUE(
        err.contains(QStringLiteral("[提示信息] 连接数据库失败！请设置数据库\n  无法创建文件夹%1")
                         .arg(folder.filePath("data/Tessaly"))))
        << err.toStdString();
}

TEST_F(InstalledProgramTest, TheFirstRunLaysTheDatabaseAndSaysWhere) {
    tessaly.setReadChannel(QProcess::StandardError);
    tessaly.start(folder.filePath("tessaly"), {});
    QByteArray err;
    while (!err.contains(userDatabase().toUtf8()) && tessaly.waitForReadyRead(30000))
        err += tessaly.readAllStandardError();
    EXPECT_TRUE(QString::fromUtf8(err).contains("首次运行")) << err.toStdString();
    EXPECT_TRUE(err.contains(userDatabase().toUtf8())) << err.toStdString();
    EXPECT_EQ(tessaly.state(), QProcess::Running) << "the program goes on with its fresh database";
    EXPECT_TRUE(QFile::exists(userDatabase()));
}

// A traffic log asked for (TESSALY_TRACE) that cannot be written ends the start with the
// reason before the player hears anything, as the command line does.
TEST_F(InstalledProgramTest, ATrafficLogThatCannotBeWrittenEndsTheStartBeforeAnythingIsSent) {
    PseudoTerminal player;
    auto environment = tessaly.processEnvironment();
    environment.insert("TESSALY_TRACE", "/dev/full");
    environment.insert("TESSALY_COM1", player.device());
    tessaly.setProcessEnvironment(environment);
    tessaly.start(folder.filePath("tessaly"), {});
    ASSERT_TRUE(tessaly.waitForFinished(30000));
    EXPECT_EQ(tessaly.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tessaly.readAllStandardError())
                    .contains("[信息提示：] 无法写入通讯记录/dev/full：磁盘空间不足"));
    EXPECT_EQ(player.readAtLeast(1), QByteArray()) << "nothing was sent";
}

} // namespace

// Beside the panel's described controls, the small button opens a dialog that points the chosen
// COM at a network target; the list shows it at once and the port map uses it for the next
// opening. A bad host or port is refused in the dialog, which stays open; the list's context
// menu clears the target again.
TEST_F(MainWindowTest, NetworkPortIsSetFromThePanelAndClearedFromTheList) {
    const FreshMachineSettings machine;
    start();
    runStartupCheck();
    click("sbSet");
    auto* ports = control<QComboBox>("cmbCom");
    ports->setCurrentIndex(2);
    auto* button = control<QToolButton>("sbNetPort");
    EXPECT_EQ(button->accessibleName(), "网络串口");
    button->click();
    auto* dialog = window->findChild<NetworkPortDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->findChild<QLabel*>("Lbl_NetCom")->text(), "COM3");
    dialog->findChild<QRadioButton*>("rbRfc2217")->click();

    const struct {
        const char* host;
        const char* port;
        const char* refusal;
    } refused[] = {
        {"", "7003", "请填写主机（名称或 IP 地址）。"},
        {"10.0.0.7", "", "端口“”无效，应为 1 到 65535 的数字。"},
        {"10.0.0.7", "0", "端口“0”无效，应为 1 到 65535 的数字。"},
        {"10.0.0.7", "65536", "端口“65536”无效，应为 1 到 65535 的数字。"},
        {"10.0.0.7", "-1", "端口“-1”无效，应为 1 到 65535 的数字。"},
        {"tower 3", "7003", "主机“tower 3”无效：应为主机名或 IP 地址。"},
        {"10.0.0.7/x", "7003", "主机“10.0.0.7/x”无效：应为主机名或 IP 地址。"},
    };
    const auto enter = [&](const char* host, const char* port) {
        dialog->findChild<QLineEdit*>("edNetHost")->setText(host);
        dialog->findChild<QLineEdit*>("edNetPort")->setText(port);
        dialog->accept();
    };
    for (const auto& bad : refused) {
        enter(bad.host, bad.port);
        EXPECT_TRUE(dialog->isVisible()) << bad.host << ":" << bad.port;
        EXPECT_EQ(dialog->findChild<QLabel*>("Lbl_NetRefusal")->text(), bad.refusal);
    }
    EXPECT_EQ(storedNetworkTarget(3), "") << "nothing is stored before OK";

    enter("10.0.0.7", "7003");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(storedNetworkTarget(3), "rfc2217://10.0.0.7:7003");
    EXPECT_EQ(ports->model()->index(2, 1).data().toString(), "rfc2217://10.0.0.7:7003");
    EXPECT_EQ(ports->model()->index(2, 2).data().toString(), "网络");
    EXPECT_EQ(ports->currentIndex(), 2);
    EXPECT_EQ(text("Lb_Mess"), "请点击[测试]");
    EXPECT_EQ(PortMap({{1, "/dev/pts/sim"}}, {}).deviceFor(3), "rfc2217://10.0.0.7:7003");

    QMenu* menu = control<SettingsPanel>("PanSet")->portMenu();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions().at(0)->text(), "设置网络串口…");
    EXPECT_EQ(menu->actions().at(1)->text(), "清除网络串口");
    menu->actions().at(1)->trigger();
    EXPECT_EQ(storedNetworkTarget(3), "");
    EXPECT_EQ(ports->model()->index(2, 1).data().toString(), "（无设备）");
    EXPECT_FALSE(control<SettingsPanel>("PanSet")->portMenu()->actions().at(1)->isEnabled());
}

// In English every state of the main window and its settings panel shows English that fits.
TEST_F(MainWindowTest, EnglishTextsFitInEveryState) {
    EnglishInterface english;
    ASSERT_TRUE(english.loaded());
    const auto expectEnglishThatFits = [this](const char* state) {
        SCOPED_TRACE(state);
        EXPECT_EQ(englishFaultsIn(window.get()), QStringList{});
    };
    execute("update SysTab set Com = 7"); // a port without a device
    start();
    runStartupCheck();
    ASSERT_TRUE(panelShown());
    EXPECT_EQ(text("Lb_Mess"), "The port did not open. Please click Test");
    EXPECT_EQ(control<SettingsPanel>("PanSet")->cause(),
              "Cause: this port has no serial device; check that the adapter is plugged in.");
    expectEnglishThatFits("the banner of a port that does not open");
    EXPECT_EQ(control<QPushButton>("sbPcDown")->text(), "Sync PC -> player");
    EXPECT_EQ(window->backgroundMenu(QPoint(300, 30))->actions().first()->text(),
              "Backup and restore…");

    click("sbSet");
    EXPECT_EQ(text("Lbl_Item"), "Connection settings for the player");
    expectEnglishThatFits("the settings panel");
    control<QToolButton>("sbNetPort")->click();
    expectEnglishThatFits("the network port dialog");
    window->findChild<NetworkPortDialog*>()->accept();
    EXPECT_EQ(window->findChild<QLabel*>("Lbl_NetRefusal")->text(),
              "Enter the host (a name or an IP address).");
    expectEnglishThatFits("a refused network port");
    window->findChild<NetworkPortDialog*>()->reject();
    control<QComboBox>("cmbCom")->showPopup();
    expectEnglishThatFits("the list of ports");
    control<QComboBox>("cmbCom")->hidePopup();
    control<QComboBox>("cmbCom")->setCurrentIndex(0);
    runSettingsTest();
    EXPECT_EQ(text("Lb_Mess"), "Connected. Please click Save");
    expectEnglishThatFits("a test that reached the player");
    click("sbSave");
    EXPECT_EQ(prompter.shownTexts().last(), "Saved.");
    click("sbClose");

    window.reset();
    clock.advance(5000);
    start();
    runStartupCheck();
    for (const char* synchronisation : {"sbPcDown", "sbMachinDown"}) {
        click(synchronisation);
        ASSERT_TRUE(clock.runUntil([&] { return text("LbJM") == "Set 1"; }, 60000));
        expectEnglishThatFits(synchronisation);
        ASSERT_TRUE(clock.runUntil([&] { return control("sbExit")->isEnabled(); }, 600000));
    }
    EXPECT_EQ(prompter.shownTexts().last(), "Sync complete.");
}

// A busy port's cause fits beneath the status in both languages: one line for one holder, every
// holder's name whole on its line, and the ending fits one holder or several.
TEST_F(MainWindowTest, ABusyPortsCauseFitsThePanel) {
    const QString sim = "tessaly-player-sim";
    const QString editor = "minicom";
    struct Case {
        Language language;
        QStringList holders; // name, pid, name, pid...
        int mostLines;
        QString ending;
    };
    const QList<Case> cases = {
        {Language::Chinese, {sim, "4242"}, 1, "请先关闭它。"},
        {Language::Chinese, {sim, "4242", editor, "812"}, 2, "请先关闭这些程序。"},
        {Language::English, {sim, "4242"}, 1, "close it first."},
        {Language::English, {sim, "4242", editor, "812"}, 2, "close them first."},
    };
    start();
    for (const auto& c : cases) {
        const LanguageCatalogues catalogues(c.language);
        PortFacts facts{"/dev/ttyUSB0", true, EBUSY};
        QStringList names;
        for (int i = 0; i + 1 < c.holders.size(); i += 2) {
            const QString holder = QCoreApplication::translate("PortDiagnosis", "%1（进程 %2）")
                                       .arg(c.holders[i], c.holders[i + 1]);
            facts.holders.append(holder);
            names.append(holder);
        }
        auto* panel = control<SettingsPanel>("PanSet");
        panel->sbSetClick();
        panel->showCause(portCauseLine(facts));
        auto* label = control<QLabel>("Lb_Cause");
        const QStringList lines = label->text().split('\n');
        const std::string context = lines.join(" | ").toStdString();
        EXPECT_LE(lines.size(), c.mostLines) << context;
        EXPECT_LE(label->sizeHint().width(), label->width()) << context;
        EXPECT_LE(label->sizeHint().height(), label->height()) << context;
        for (const QString& name : names)
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    [&name](const QString& line) { return line.contains(name); }))
                << name.toStdString() << " cut: " << context;
        EXPECT_TRUE(panel->cause().endsWith(c.ending)) << panel->cause().toStdString();
        EXPECT_EQ(tessaly::testing::labelsNotReadAsShown(panel), QStringList{});
    }
}

// A player 150 ms away each way, behind ser2net, raw and RFC 2217, in real time: the start-up
// check finds it (its waits were made for a direct line; the network's round trip comes on top),
// and so does the settings panel's test.
TEST_F(MainWindowTest, StartupCheckAndTestFindAPlayerAcrossASlowNetwork) {
    using Mode = Ser2NetProcess::Mode;
    PlayerProcess player(TESSALY_PLAYER_SIM, {});
    ASSERT_FALSE(player.device().isEmpty());
    for (const Mode mode : {Mode::Raw, Mode::Rfc2217}) {
        SCOPED_TRACE(mode == Mode::Raw ? "raw" : "RFC 2217");
        Ser2NetProcess server(player.device(), mode);
        ASSERT_TRUE(server.started());
        DelayingProxy slow(server.port(), 150);
        const QString url = QString("%1://127.0.0.1:%2")
                                .arg(mode == Mode::Raw ? "socket" : "rfc2217")
                                .arg(slow.port());
        RealClock realClock;
        Session network;
        RoutedSerialLink routed(PortMap({{1, url}}, {}));
        DeviceChannel wire(routed, network.link);
        auto shown = std::make_unique<MainWindow>(MainWindowServices{realClock, wire, prompter,
                                                                     data, PortMap({{1, url}}, {}),
                                                                     folder.path() + "/"},
                                                  network);
        ASSERT_TRUE(showAndStart(*shown));
        const auto settle = [](const std::function<bool()>& done) {
            const QDeadlineTimer deadline(8000);
            while (!done() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        };
        settle([&] { return network.link.LinkUp; });
        EXPECT_TRUE(network.link.LinkUp);
        EXPECT_FALSE(shown->findChild<QWidget*>("PanSet")->isVisible());

        shown->findChild<QComboBox*>("cmbCom")->setCurrentIndex(0);
        shown->findChild<QPushButton*>("sbTest")->click();
        auto* status = shown->findChild<QLabel*>("Lb_Mess");
        settle([&] { return status->text() == "通讯成功！请点击[保存]"; });
        EXPECT_EQ(status->text(), "通讯成功！请点击[保存]");
        shown.reset();
    }
}
