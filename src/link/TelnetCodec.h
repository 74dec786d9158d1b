#pragma once

#include <QByteArray>

#include <array>

namespace tessaly {

// The client side of Telnet with the COM-PORT-OPTION, as a serial device server speaks it:
// outgoing data has 0xFF doubled, incoming data has it undoubled, and every command or
// subnegotiation in the incoming stream is taken out (also when a read splits it), answered
// where Telnet asks for an answer, and never handed on as data.
class TelnetCodec {
public:
    // What the client says on connecting: binary transmission both ways, the COM-PORT-OPTION,
    // and the player's line, 9600 bit/s, 8 data bits, no parity, 1 stop bit. What it asks for
    // counts as granted, so that the server's agreement is not answered again.
    QByteArray greeting();
    // Asks the server to drop what it has received from the serial line and not yet sent.
    static QByteArray purgeServerInput();

    // The data as it goes on the wire.
    static QByteArray encode(const QByteArray& data);

    // Takes the next bytes from the wire; returns the data among them. Answers to the server's
    // requests are appended to `replies`, to be sent back.
    QByteArray decode(const QByteArray& wire, QByteArray& replies);

private:
    enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand };

    void answer(quint8 command, quint8 option, QByteArray& replies);

    State m_state = State::Data;
    quint8 m_command = 0;
    // Whether each option is on at our side (WILL) and the server's side (DO), so that a
    // request already granted is not answered again: answering it would loop.
    std::array<bool, 256> m_ours{};
    std::array<bool, 256> m_theirs{};
};

} // namespace tessaly
