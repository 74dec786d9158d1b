#include "DeviceChannel.h"

#include <algorithm>

namespace tessaly {

void DeviceChannel::sendTransmitBuffer() {
    // No caller looks at the result: a lost frame shows up as a missing answer.
    m_serial.write(m_state.PortNumber, m_transmit.bytes.data(), m_transmit.length);
}

void DeviceChannel::sendProbeCommand() {
    buildProbeCommand(m_transmit);
    sendTransmitBuffer();
}

void DeviceChannel::sendCloseNotice() {
    buildCloseNotice(m_transmit);
    sendTransmitBuffer();
}

void DeviceChannel::sendReadRequest(int set) {
    buildReadRequest(m_transmit, set);
    sendTransmitBuffer();
}

void DeviceChannel::sendPreheatDelayFrame(int preheatMinutes, int delayMinutes) {
    buildPreheatDelayFrame(m_transmit, preheatMinutes, delayMinutes);
    sendTransmitBuffer();
}

void DeviceChannel::sendPreheatDelayQuery(int set) {
    buildPreheatDelayQuery(m_transmit, set);
    sendTransmitBuffer();
}

void DeviceChannel::sendClearCommand(int set) {
    buildClearCommand(m_transmit, set);
    sendTransmitBuffer();
}

void DeviceChannel::sendRecordFrame(const RecordFrame& frame) {
    std::copy(frame.begin(), frame.end(), m_transmit.bytes.begin());
    m_transmit.length = int(frame.size());
    sendTransmitBuffer();
}

std::vector<quint8> DeviceChannel::readOnce(int maximum) {
    std::vector<quint8> buffer(std::size_t(qMax(0, maximum)), 0);
    const int count = m_serial.read(m_state.PortNumber, buffer.data(), maximum);
    buffer.resize(std::size_t(qBound(0, count, maximum)));
    return buffer;
}

} // namespace tessaly
