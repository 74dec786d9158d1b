#include "TelnetCodec.h"

namespace tessaly {

namespace {

constexpr quint8 Se = 240;
constexpr quint8 Sb = 250;
constexpr quint8 Will = 251;
constexpr quint8 Wont = 252;
constexpr quint8 Do = 253;
constexpr quint8 Dont = 254;
constexpr quint8 Iac = 255;

constexpr quint8 Binary = 0;
constexpr quint8 SuppressGoAhead = 3;
constexpr quint8 ComPortOption = 44;

constexpr char Cr = '\r';
constexpr char Nul = '\0';

// COM-PORT-OPTION commands from the client and their values; the server answers each with the
// command plus 100.
constexpr quint8 SetBaudRate = 1;
constexpr quint8 SetDataSize = 2;
constexpr quint8 SetParity = 3;
constexpr quint8 SetStopSize = 4;
constexpr quint8 PurgeData = 12;
constexpr quint8 ServerReply = 100;
constexpr quint8 ParityNone = 1;
constexpr quint8 OneStopBit = 1;
constexpr quint8 PurgeServerReceiveBuffer = 1;
constexpr int AllConfirmed = 0b1111;

// A subnegotiation longer than any the client reads is skipped, not kept.
constexpr qsizetype SubnegotiationLimit = 64;

void appendCommand(QByteArray& to, quint8 verb, quint8 option) {
    const char bytes[]{char(Iac), char(verb), char(option)};
    to.append(bytes, sizeof bytes);
}

QByteArray comPortCommand(quint8 name, const QByteArray& value) {
    return QByteArray{} + char(Iac) + char(Sb) + char(ComPortOption) + char(name) +
           TelnetCodec::escape(value) + char(Iac) + char(Se);
}

QByteArray bigEndian32(quint32 value) {
    return QByteArray{} + char(value >> 24) + char(value >> 16) + char(value >> 8) + char(value);
}

// The value of each line setting as asked for, made once.
const QByteArray& lineValue(quint8 name) {
    static const QByteArray values[]{bigEndian32(9600), QByteArray(1, char(8)),
                                     QByteArray(1, char(ParityNone)),
                                     QByteArray(1, char(OneStopBit))};
    return values[qBound(SetBaudRate, name, SetStopSize) - SetBaudRate];
}

const QByteArray& lineSettings() {
    static const QByteArray settings = [] {
        QByteArray all;
        for (const quint8 name : {SetBaudRate, SetDataSize, SetParity, SetStopSize})
            all += comPortCommand(name, lineValue(name));
        return all;
    }();
    return settings;
}

// The options this client takes on itself and lets the server take on.
bool weWill(quint8 option) {
    return option == Binary || option == SuppressGoAhead || option == ComPortOption;
}
bool theyMay(quint8 option) {
    return option == Binary || option == SuppressGoAhead;
}

} // namespace

QByteArray TelnetCodec::greeting() {
    m_ours[Binary] = m_ours[ComPortOption] = m_theirs[Binary] = Side::WantYes;
    static const char requests[]{char(Iac), char(Will), char(Binary),
                                 char(Iac), char(Do),   char(Binary),
                                 char(Iac), char(Will), char(ComPortOption)};
    return QByteArray::fromRawData(requests, sizeof requests);
}

bool TelnetCodec::comPortAnswered() const {
    return m_ours[ComPortOption] != Side::WantYes;
}

QByteArray TelnetCodec::purgeServerInput() const {
    if (m_ours[ComPortOption] != Side::Yes)
        return {};
    return comPortCommand(PurgeData, QByteArray(1, char(PurgeServerReceiveBuffer)));
}

QByteArray TelnetCodec::escape(const QByteArray& data) {
    QByteArray wire;
    wire.reserve(data.size() + data.count(char(Iac)));
    for (const char byte : data) {
        wire.append(byte);
        if (quint8(byte) == Iac)
            wire.append(byte);
    }
    return wire;
}

QByteArray TelnetCodec::encode(const QByteArray& data) const {
    if (m_ours[Binary] == Side::Yes)
        return escape(data);
    QByteArray wire;
    for (const char byte : escape(data)) {
        wire.append(byte);
        if (byte == Cr) // a bare CR is CR NUL outside binary transmission
            wire.append(Nul);
    }
    return wire;
}

void TelnetCodec::dataByte(char byte, QByteArray& data) {
    data.append(byte);
    if (byte == Cr && m_theirs[Binary] != Side::Yes)
        m_state = State::AfterCr;
}

QByteArray TelnetCodec::decode(const QByteArray& wire, QByteArray& replies) {
    QByteArray data;
    data.reserve(wire.size());
    for (const char c : wire) {
        const quint8 byte = quint8(c);
        switch (m_state) {
        case State::AfterCr:
            m_state = State::Data;
            if (c == Nul) // the NUL only keeps a bare CR apart from CR LF
                break;
            [[fallthrough]];
        case State::Data:
            if (byte == Iac)
                m_state = State::Command;
            else
                dataByte(c, data);
            break;
        case State::Command:
            if (byte == Iac) { // a doubled 0xFF is one data byte
                data.append(c);
                m_state = State::Data;
            } else if (byte == Sb) {
                m_subnegotiation.clear();
                m_state = State::Subnegotiation;
            } else if (byte >= Will) {
                m_command = byte;
                m_state = State::Option;
            } else {
                m_state = State::Data; // NOP, GA and the like: two bytes, nothing to do
            }
            break;
        case State::Option:
            answer(m_command, byte, replies);
            m_state = State::Data;
            break;
        case State::Subnegotiation:
            if (byte == Iac)
                m_state = State::SubnegotiationCommand;
            else if (m_subnegotiation.size() <= SubnegotiationLimit)
                m_subnegotiation.append(c);
            break;
        case State::SubnegotiationCommand:
            if (byte == Se) {
                takeSubnegotiation(replies);
                m_state = State::Data;
            } else {
                if (byte == Iac && m_subnegotiation.size() <= SubnegotiationLimit)
                    m_subnegotiation.append(c);
                m_state = State::Subnegotiation;
            }
            break;
        }
    }
    return data;
}

// The server's confirmation of a line setting: what it set, which must be what was asked.
void TelnetCodec::takeSubnegotiation(QByteArray& /*replies*/) {
    const QByteArray& sub = m_subnegotiation;
    if (sub.size() < 2 || quint8(sub[0]) != ComPortOption || m_line != Line::Pending)
        return;
    const int name = quint8(sub[1]) - ServerReply;
    if (name < SetBaudRate || name > SetStopSize)
        return;
    if (QByteArrayView(sub).sliced(2) != lineValue(quint8(name))) {
        m_line = Line::Refused;
        return;
    }
    m_confirmed |= 1 << (name - 1);
    if (m_confirmed == AllConfirmed)
        m_line = Line::Set;
}

void TelnetCodec::answer(quint8 verb, quint8 option, QByteArray& replies) {
    Side& ours = m_ours[option];
    Side& theirs = m_theirs[option];
    switch (verb) {
    case Do:
        if (ours == Side::Yes)
            break;
        if (ours == Side::No)
            appendCommand(replies, weWill(option) ? Will : Wont, option);
        if (!weWill(option))
            break;
        ours = Side::Yes;
        if (option == ComPortOption) // the line is set once the server takes the option
            replies += lineSettings();
        break;
    case Dont:
        if (ours == Side::Yes)
            appendCommand(replies, Wont, option);
        ours = Side::No;
        if (option == ComPortOption)
            m_line = Line::Refused;
        break;
    case Will:
        if (theirs == Side::Yes)
            break;
        if (theirs == Side::No)
            appendCommand(replies, theyMay(option) ? Do : Dont, option);
        theirs = theyMay(option) ? Side::Yes : Side::No;
        break;
    case Wont:
        if (theirs == Side::Yes)
            appendCommand(replies, Dont, option);
        theirs = Side::No;
        break;
    }
}

} // namespace tessaly
