#include "DeviceChannel.h"

#include <QCoreApplication>

#include <algorithm>

namespace tessaly {

QString channelBusyText() {
    return QCoreApplication::translate("DeviceChannel",
                                       "通讯端口正在进行另一项操作，请等它结束后再试！");
}

QCoro::Task<int> openWhenReady(SerialLink& serial, int port, Clock& clock, CancelToken cancel) {
    // A step short against the connect time: the connection's own timer ends the wait.
    constexpr int ReadyPollMs = 5;
    const int opened = serial.open(port);
    if (opened != 0)
        co_return opened;
    int state = serial.readiness(port);
    for (; state == SerialLink::Opening; state = serial.readiness(port))
        co_await clock.wait(ReadyPollMs, cancel);
    co_return state;
}

std::optional<ChannelClaim> DeviceChannel::claim() {
    if (m_claimed)
        return std::nullopt;
    return ChannelClaim(m_claimed);
}

bool DeviceChannel::sendTransmitBuffer() {
    return m_serial.write(m_state.PortNumber, m_transmit.bytes.data(), m_transmit.length) ==
           m_transmit.length;
}

bool DeviceChannel::sendProbeCommand() {
    buildProbeCommand(m_transmit);
    return sendTransmitBuffer();
}

bool DeviceChannel::sendCloseNotice() {
    buildCloseNotice(m_transmit);
    return sendTransmitBuffer();
}

bool DeviceChannel::sendReadRequest(int set) {
    buildReadRequest(m_transmit, set);
    return sendTransmitBuffer();
}

bool DeviceChannel::sendPreheatDelayFrame(int preheatMinutes, int delayMinutes) {
    buildPreheatDelayFrame(m_transmit, preheatMinutes, delayMinutes);
    return sendTransmitBuffer();
}

bool DeviceChannel::sendPreheatDelayQuery(int set) {
    buildPreheatDelayQuery(m_transmit, set);
    return sendTransmitBuffer();
}

bool DeviceChannel::sendClearCommand(int set) {
    buildClearCommand(m_transmit, set);
    return sendTransmitBuffer();
}

bool DeviceChannel::sendRecordFrame(const RecordFrame& frame) {
    std::copy(frame.begin(), frame.end(), m_transmit.bytes.begin());
    m_transmit.length = int(frame.size());
    return sendTransmitBuffer();
}

std::vector<quint8> DeviceChannel::readOnce(int maximum) {
    std::vector<quint8> buffer(std::size_t(qMax(0, maximum)), 0);
    const int count = m_serial.read(m_state.PortNumber, buffer.data(), maximum);
    buffer.resize(std::size_t(qBound(0, count, maximum)));
    return buffer;
}

} // namespace tessaly
