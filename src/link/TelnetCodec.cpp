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

// COM-PORT-OPTION commands from the client and their values.
constexpr quint8 SetBaudRate = 1;
constexpr quint8 SetDataSize = 2;
constexpr quint8 SetParity = 3;
constexpr quint8 SetStopSize = 4;
constexpr quint8 PurgeData = 12;
constexpr quint8 ParityNone = 1;
constexpr quint8 OneStopBit = 1;
constexpr quint8 PurgeServerReceiveBuffer = 1;

QByteArray command(quint8 verb, quint8 option) {
    return QByteArray{} + char(Iac) + char(verb) + char(option);
}

QByteArray comPortCommand(quint8 name, const QByteArray& value) {
    return QByteArray{} + char(Iac) + char(Sb) + char(ComPortOption) + char(name) +
           TelnetCodec::encode(value) + char(Iac) + char(Se);
}

QByteArray bigEndian32(quint32 value) {
    return QByteArray{} + char(value >> 24) + char(value >> 16) + char(value >> 8) + char(value);
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
    m_ours[Binary] = m_ours[ComPortOption] = m_theirs[Binary] = true;
    return command(Will, Binary) + command(Do, Binary) + command(Will, ComPortOption) +
           comPortCommand(SetBaudRate, bigEndian32(9600)) +
           comPortCommand(SetDataSize, QByteArray(1, char(8))) +
           comPortCommand(SetParity, QByteArray(1, char(ParityNone))) +
           comPortCommand(SetStopSize, QByteArray(1, char(OneStopBit)));
}

QByteArray TelnetCodec::purgeServerInput() {
    return comPortCommand(PurgeData, QByteArray(1, char(PurgeServerReceiveBuffer)));
}

QByteArray TelnetCodec::encode(const QByteArray& data) {
    QByteArray wire;
    wire.reserve(data.size() + data.count(char(Iac)));
    for (const char byte : data) {
        wire.append(byte);
        if (quint8(byte) == Iac)
            wire.append(byte);
    }
    return wire;
}

QByteArray TelnetCodec::decode(const QByteArray& wire, QByteArray& replies) {
    QByteArray data;
    for (const char c : wire) {
        const quint8 byte = quint8(c);
        switch (m_state) {
        case State::Data:
            if (byte == Iac)
                m_state = State::Command;
            else
                data.append(c);
            break;
        case State::Command:
            if (byte == Iac) { // a doubled 0xFF is one data byte
                data.append(c);
                m_state = State::Data;
            } else if (byte == Sb) {
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
        case State::Subnegotiation: // the server's confirmations: read past them
            if (byte == Iac)
                m_state = State::SubnegotiationCommand;
            break;
        case State::SubnegotiationCommand:
            m_state = byte == Se ? State::Data : State::Subnegotiation;
            break;
        }
    }
    return data;
}

void TelnetCodec::answer(quint8 verb, quint8 option, QByteArray& replies) {
    switch (verb) {
    case Do:
        if (!m_ours[option])
            replies += command(weWill(option) ? Will : Wont, option);
        m_ours[option] = weWill(option);
        break;
    case Dont:
        if (m_ours[option])
            replies += command(Wont, option);
        m_ours[option] = false;
        break;
    case Will:
        if (!m_theirs[option])
            replies += command(theyMay(option) ? Do : Dont, option);
        m_theirs[option] = theyMay(option);
        break;
    case Wont:
        if (m_theirs[option])
            replies += command(Dont, option);
        m_theirs[option] = false;
        break;
    }
}

} // namespace tessaly
