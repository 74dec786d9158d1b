#include "PlayerSimulator.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace tessaly {

namespace {

// The length of every frame the PC may send follows from its command alone.
std::optional<std::size_t> frameLength(quint8 command) {
    switch (command) {
    case frame::Probe:
    case frame::CloseNotice:
    case frame::ReadRequest:
    case frame::PreheatDelayQuery:
    case frame::Clear:
        return 4;
    case frame::PreheatDelay:
        return 5;
    case frame::Record:
        return frame::RecordLength;
    default:
        return std::nullopt;
    }
}

QByteArray answerFrame(quint8 command, std::initializer_list<quint8> arguments) {
    QByteArray bytes;
    bytes.append(char(frame::Start));
    bytes.append(char(command));
    for (const quint8 argument : arguments)
        bytes.append(char(argument));
    bytes.append(char(frame::End));
    return bytes;
}

QByteArray toBytes(std::span<const quint8> bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// Milliseconds until the `count`-th byte of a paced reply has fully arrived, rounded up.
qint64 lineTimeMs(qint64 count) {
    const qint64 bits = count * PlayerSimulator::BitsPerByte * 1000;
    return (bits + PlayerSimulator::BitsPerSecond - 1) / PlayerSimulator::BitsPerSecond;
}

QByteArray emptySetAnswer(EmptyAnswer shape, int set) {
    switch (shape) {
    case EmptyAnswer::Short:
        return answerFrame(frame::RecordAnswer, {0});
    case EmptyAnswer::Padded:
        return answerFrame(frame::RecordAnswer, {0, 0});
    case EmptyAnswer::ZeroFrame: {
        QByteArray bytes(frame::RecordLength, '\0');
        bytes[0] = char(frame::Start);
        bytes[1] = char(frame::RecordAnswer);
        bytes[4] = char(set);
        bytes[frame::RecordLength - 1] = char(frame::End);
        return bytes;
    }
    case EmptyAnswer::NoHeadBytes:
        return QByteArray(3, '\0');
    }
    return {};
}

constexpr std::pair<EmptyAnswer, const char*> EmptyAnswerNames[] = {
    {EmptyAnswer::Short, "short"},
    {EmptyAnswer::Padded, "padded"},
    {EmptyAnswer::ZeroFrame, "frame"},
    {EmptyAnswer::NoHeadBytes, "noise"},
};

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

QString emptyAnswerName(EmptyAnswer answer) {
    for (const auto& [shape, name] : EmptyAnswerNames)
        if (shape == answer)
            return QLatin1String(name);
    return {};
}

std::optional<EmptyAnswer> emptyAnswerNamed(const QString& name) {
    for (const auto& [shape, shapeName] : EmptyAnswerNames)
        if (name == QLatin1String(shapeName))
            return shape;
    return std::nullopt;
}

QList<EmptyAnswer> allEmptyAnswers() {
    QList<EmptyAnswer> shapes;
    for (const auto& entry : EmptyAnswerNames)
        shapes.append(entry.first);
    return shapes;
}

PlayerSimulator::PlayerSimulator(PlayerOptions options) : m_options(options) {}

void PlayerSimulator::receive(std::span<const quint8> bytes, qint64 nowMs) {
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
    // Consumed bytes go in one erase at the end: a long run of line noise stays linear.
    std::size_t at = 0;
    while (const std::size_t consumed = parseOneFrame(at, nowMs))
        at += consumed;
    m_input.erase(m_input.begin(), m_input.begin() + qsizetype(at));
}

// Consumes one frame, or the garbage before the next start byte, or one byte that starts no
// frame, from `at` on; returns how many bytes, 0 when the input must wait for more bytes.
std::size_t PlayerSimulator::parseOneFrame(std::size_t at, qint64 nowMs) {
    const auto begin = m_input.begin() + qsizetype(at);
    if (const auto skipped = std::size_t(std::find(begin, m_input.end(), frame::Start) - begin))
        return skipped;
    const std::size_t left = m_input.size() - at;
    if (left < 2)
        return 0;
    const auto length = frameLength(m_input[at + 1]);
    if (length && left < *length)
        return 0;
    if (!length || m_input[at + *length - 1] != frame::End)
        return 1;
    handleFrame(std::span<const quint8>(m_input).subspan(at, *length), nowMs);
    return *length;
}

void PlayerSimulator::handleFrame(std::span<const quint8> frame, qint64 nowMs) {
    m_received.append({nowMs, toBytes(frame)});
    const quint8 argument = frame[2];
    switch (frame[1]) {
    case frame::Probe:
        queueReply(answerFrame(frame::ProbeAnswer, {quint8(m_options.wrongProbe ? 0 : 1)}),
                   nowMs + m_options.probeDelayMs);
        break;
    case frame::Record:
        storeRecord(frame);
        break;
    case frame::ReadRequest:
        answerRead(argument, nowMs);
        break;
    case frame::PreheatDelay:
        setPreheatDelay(frame[2], frame[3]);
        break;
    case frame::PreheatDelayQuery:
        if (!m_options.noPreheatReply)
            queueReply(answerFrame(frame::PreheatDelayAnswer, {quint8(m_preheat), quint8(m_delay)}),
                       nowMs);
        break;
    case frame::Clear:
        answerClear(argument, nowMs);
        break;
    default: // the close notice only goes to the log
        break;
    }
}

void PlayerSimulator::storeRecord(std::span<const quint8> frame) {
    const int set = frame[4];
    if (!isValidSet(set))
        return;
    RecordFrame stored;
    std::copy(frame.begin(), frame.end(), stored.begin());
    m_sets[set - 1].push_back(stored);
}

void PlayerSimulator::answerRead(int set, qint64 nowMs) {
    if (m_options.readOtherSet && isValidSet(set))
        set = set % SetCount + 1;
    const std::size_t held = isValidSet(set) ? m_sets[set - 1].size() : 0;
    if (m_options.countWithoutFrames) {
        queueReply(answerFrame(frame::RecordAnswer, {quint8(std::max<std::size_t>(held, 1))}),
                   nowMs, true);
        return;
    }
    if (held == 0) {
        queueReply(emptySetAnswer(m_options.emptyAnswer, set), nowMs, true);
        return;
    }
    const auto& frames = m_sets[set - 1];
    QByteArray reply;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        RecordFrame out = frames[i];
        out[1] = frame::RecordAnswer;
        out[2] = quint8(frames.size() & 0xFF);
        out[3] = quint8((i + 1) & 0xFF);
        reply.append(toBytes(out));
    }
    queueReply(reply, nowMs, true);
}

// Erasing keeps the player busy: a clear that arrives during another one is answered a full
// erase time after the earlier answer.
void PlayerSimulator::answerClear(int set, qint64 nowMs) {
    if (set != frame::ClearAllSets && !isValidSet(set))
        return;
    const qint64 doneMs = std::max(nowMs, m_clearBusyUntil) + m_options.clearDelayMs;
    m_clearBusyUntil = doneMs;
    quint8 answer = quint8(set);
    if (m_options.clearFails) {
        answer = frame::ClearAllFailed;
    } else {
        if (set == frame::ClearAllSets)
            m_sets = {};
        else
            m_sets[set - 1].clear();
        if (m_options.clearOtherSet)
            answer = quint8(set % SetCount + 1);
    }
    queueReply(answerFrame(frame::ClearAnswer, {answer}), doneMs);
}

// Applies the reply faults and works out when each byte reaches the line, relative to the
// moment the line is free for this reply.
void PlayerSimulator::queueReply(QByteArray bytes, qint64 dueMs, bool paced) {
    if (m_options.silent)
        return;
    if (m_options.strayByte)
        bytes.prepend('\0');
    if (m_options.cutAfter > 0)
        bytes.truncate(m_options.cutAfter);
    Reply reply{dueMs, bytes, {}};
    reply.offsetsMs.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        qint64 offset = paced ? lineTimeMs(i + 1) : 0;
        if (m_options.splitBytes > 0)
            offset += (i / m_options.splitBytes) * m_options.splitGapMs;
        reply.offsetsMs.push_back(offset);
    }
    const auto position =
        std::upper_bound(m_pending.begin(), m_pending.end(), dueMs,
                         [](qint64 due, const Reply& queued) { return due < queued.dueMs; });
    m_pending.insert(position, std::move(reply));
}

// Replies go on the line in the order they fall due, one after the other.
void PlayerSimulator::releaseDue(qint64 nowMs) {
    const auto due = std::find_if(m_pending.begin(), m_pending.end(),
                                  [nowMs](const Reply& reply) { return reply.dueMs > nowMs; });
    for (auto reply = m_pending.begin(); reply != due; ++reply)
        putOnLine(*reply);
    m_pending.erase(m_pending.begin(), due);
}

void PlayerSimulator::putOnLine(const Reply& reply) {
    const qint64 startMs = std::max(reply.dueMs, m_lineFreeAt);
    for (qsizetype i = 0; i < reply.bytes.size(); ++i)
        m_line.push_back({startMs + reply.offsetsMs[std::size_t(i)], reply.bytes[i]});
    if (!m_line.empty())
        m_lineFreeAt = m_line.back().availableMs;
}

QByteArray PlayerSimulator::takeAvailable(qint64 nowMs, int maximum) {
    releaseDue(nowMs);
    QByteArray taken;
    while (!m_line.empty() && taken.size() < maximum && m_line.front().availableMs <= nowMs) {
        taken.append(m_line.front().byte);
        m_line.pop_front();
    }
    return taken;
}

std::optional<qint64> PlayerSimulator::nextOutputAt() const {
    if (!m_line.empty())
        return m_line.front().availableMs;
    if (m_pending.empty())
        return std::nullopt;
    const Reply& next = m_pending.front();
    return std::max(next.dueMs, m_lineFreeAt) + next.offsetsMs.front();
}

void PlayerSimulator::dropOutput() {
    m_pending.clear();
    m_line.clear();
    m_lineFreeAt = 0; // nothing of the dropped replies holds the line any more
}

const std::vector<RecordFrame>& PlayerSimulator::programs(int set) const {
    Q_ASSERT(isValidSet(set));
    return m_sets[std::size_t(set - 1)];
}

void PlayerSimulator::setPrograms(int set, std::vector<RecordFrame> frames) {
    Q_ASSERT(isValidSet(set));
    m_sets[std::size_t(set - 1)] = std::move(frames);
}

void PlayerSimulator::setPreheatDelay(int preheatMinutes, int delayMinutes) {
    m_preheat = preheatMinutes & 0xFF;
    m_delay = delayMinutes & 0xFF;
}

bool PlayerSimulator::saveState(const QString& path, QString* error) const {
    QJsonArray sets;
    for (const auto& frames : m_sets) {
        QJsonArray hexFrames;
        for (const RecordFrame& stored : frames)
            hexFrames.append(QString::fromLatin1(toBytes(stored).toHex()));
        sets.append(hexFrames);
    }
    const QJsonObject state{{"preheat", m_preheat}, {"delay", m_delay}, {"sets", sets}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    file.write(QJsonDocument(state).toJson());
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool PlayerSimulator::loadState(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        setError(error, QStringLiteral("not a state file: %1").arg(parseError.errorString()));
        return false;
    }
    const QJsonObject state = document.object();
    const QJsonArray sets = state.value("sets").toArray();
    if (sets.size() != SetCount) {
        setError(error, QStringLiteral("a state file holds %1 sets").arg(SetCount));
        return false;
    }
    std::array<std::vector<RecordFrame>, SetCount> loaded;
    for (int set = 0; set < SetCount; ++set) {
        for (const QJsonValue& value : sets[set].toArray()) {
            const QByteArray bytes = QByteArray::fromHex(value.toString().toLatin1());
            if (bytes.size() != frame::RecordLength) {
                setError(error, QStringLiteral("set %1 holds a frame that is not %2 bytes")
                                    .arg(set + 1)
                                    .arg(frame::RecordLength));
                return false;
            }
            RecordFrame stored;
            std::copy(bytes.begin(), bytes.end(), stored.begin());
            loaded[std::size_t(set)].push_back(stored);
        }
    }
    m_sets = std::move(loaded);
    setPreheatDelay(state.value("preheat").toInt(), state.value("delay").toInt());
    return true;
}

} // namespace tessaly
