#pragma once

#include <QByteArray>

#include <array>
#include <optional>

namespace tessaly {

// The client side of Telnet with the COM-PORT-OPTION, as a serial device server speaks it:
// outgoing data has 0xFF doubled, incoming data has it undoubled, and every command or
// subnegotiation in the incoming stream is taken out (also when a read splits it), answered
// where Telnet asks for an answer, and never handed on as data.
//
// Options are negotiated as Telnet has it: a request stays pending until the server answers
// it, and an answer to a pending request is not answered again. The player's line (9600 bit/s,
// 8 data bits, no parity, 1 stop bit) is asked for only once the server has agreed to the
// COM-PORT-OPTION, and its confirmations are read back as they come.
class TelnetCodec {
public:
    // Whether the server has set the player's line.
    enum class Line {
        Pending, // not yet agreed or not yet confirmed
        Set,     // every value confirmed as asked
        Refused, // the option refused, or a value confirmed other than asked
    };

    // What the client says on connecting: binary transmission both ways and the COM-PORT-OPTION.
    QByteArray greeting();
    // Asks the server to drop what it has received from the serial line and not yet sent;
    // nothing while the server has not agreed to the COM-PORT-OPTION.
    QByteArray purgeServerInput() const;

    // The data as it goes on the wire: 0xFF doubled, and CR followed by NUL while the server
    // has not agreed that the client sends binary.
    QByteArray encode(const QByteArray& data) const;
    // Only 0xFF doubled: what binary transmission sends.
    static QByteArray escape(const QByteArray& data);

    // Takes the next bytes from the wire; returns the data among them. Answers to the server's
    // requests are appended to `replies`, to be sent back.
    QByteArray decode(const QByteArray& wire, QByteArray& replies);

    Line line() const { return m_line; }
    // Whether the server has answered the COM-PORT-OPTION, agreeing or not: the line settings
    // are then on their way, ahead of any data, or will never be.
    bool comPortAnswered() const;

private:
    enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand, AfterCr };
    enum class Side : quint8 { No, WantYes, Yes };

    void answer(quint8 command, quint8 option, QByteArray& replies);
    void takeSubnegotiation(QByteArray& replies);
    void dataByte(char byte, QByteArray& data);

    State m_state = State::Data;
    quint8 m_command = 0;
    QByteArray m_subnegotiation;
    // Each option at our side (WILL) and the server's side (DO).
    std::array<Side, 256> m_ours{};
    std::array<Side, 256> m_theirs{};
    Line m_line = Line::Pending;
    int m_confirmed = 0; // bit per line value the server confirmed as asked
};

} // namespace tessaly
