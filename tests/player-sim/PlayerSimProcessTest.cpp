// The executable on a real pseudo-terminal. Every wait here is short and bounded.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Reads from `fd` until `done` holds or `limit` passes; what was read so far.
QByteArray readUntil(int fd, const std::function<bool(const QByteArray&)>& done,
                     std::chrono::milliseconds limit) {
    QByteArray got;
    const auto deadline = Clock::now() + limit;
    while (!done(got) && Clock::now() < deadline) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, 20) <= 0)
            continue;
        char buffer[256];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0)
            got.append(buffer, count);
        else if (count == 0)
            break;
    }
    return got;
}

std::optional<int> waitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

// The player process, with its stdout on a pipe. Killed by its id if a test leaves it running.
class PlayerProcess {
public:
    explicit PlayerProcess(const std::vector<std::string>& arguments) {
        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv{const_cast<char*>(PLAYER_SIM_EXECUTABLE)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, PLAYER_SIM_EXECUTABLE, &actions, nullptr, argv.data(), environ) !=
            0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_stdout = out[0];
    }
    ~PlayerProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitForExit(m_pid, std::chrono::seconds(5));
        }
        if (m_stdout >= 0)
            ::close(m_stdout);
    }

    pid_t pid() const { return m_pid; }
    int stdoutFd() const { return m_stdout; }
    void forget() { m_pid = -1; }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
};

int openRaw(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return fd;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

TEST(PlayerProcess, AnswersTheProbeOnItsPtyAndStopsCleanlyOnSigterm) {
    const QTemporaryDir folder;
    const std::string state = folder.filePath("state.json").toStdString();
    const std::string log = folder.filePath("frames.log").toStdString();
    PlayerProcess player({"--state", state, "--log", log});
    ASSERT_GT(player.pid(), 0);

    const QByteArray firstLine = readUntil(
        player.stdoutFd(), [](const QByteArray& got) { return got.contains('\n'); },
        std::chrono::seconds(5));
    ASSERT_TRUE(firstLine.endsWith('\n')) << firstLine.constData();
    const int pty = openRaw(firstLine.trimmed());
    ASSERT_GE(pty, 0) << firstLine.constData();

    const quint8 probe[] = {0xFE, 0x01, 0x00, 0xFF};
    ASSERT_EQ(::write(pty, probe, sizeof probe), 4);
    const QByteArray answer = readUntil(
        pty, [](const QByteArray& got) { return got.size() >= 4; }, std::chrono::seconds(1));
    EXPECT_EQ(answer.toHex(' ').toUpper(), "FE 65 01 FF");
    ::close(pty);

    ASSERT_EQ(kill(player.pid(), SIGTERM), 0);
    const auto status = waitForExit(player.pid(), std::chrono::seconds(5));
    ASSERT_TRUE(status.has_value());
    player.forget();
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(state)));
    QFile frames(QString::fromStdString(log));
    ASSERT_TRUE(frames.open(QIODevice::ReadOnly));
    EXPECT_TRUE(frames.readAll().trimmed().endsWith(" FE 01 00 FF"));
}

TEST(PlayerProcess, RefusesInvalidSwitches) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--split", "0"},
                                                      {"--clear-delay", "soon"},
                                                      {"--empty-answer", "sideways"},
                                                      {"--nonsense"}}) {
        SCOPED_TRACE(arguments.front());
        PlayerProcess player(arguments);
        ASSERT_GT(player.pid(), 0);
        const auto status = waitForExit(player.pid(), std::chrono::seconds(5));
        ASSERT_TRUE(status.has_value());
        player.forget();
        EXPECT_TRUE(WIFEXITED(*status));
        EXPECT_NE(WEXITSTATUS(*status), 0);
    }
}

} // namespace
