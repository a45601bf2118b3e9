#include "cards/QtCardSerialPort.h"

#include <QElapsedTimer>
#include <QSerialPortInfo>
#include <QThread>

#include <algorithm>

QtCardSerialPort::QtCardSerialPort() {
    port_.setReadBufferSize(1024);
}

bool QtCardSerialPort::Open(const std::string& name) {
    if (port_.isOpen())
        port_.close();
    port_.setPortName(QString::fromStdString(name));
    if (!port_.open(QIODevice::ReadWrite))
        return false;
    const bool set = port_.setBaudRate(QSerialPort::Baud19200) && port_.setDataBits(QSerialPort::Data8) &&
                     port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
                     port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        port_.close();
        return false;
    }
    return true;
}

void QtCardSerialPort::Close() {
    if (port_.isOpen())
        port_.close();
}

bool QtCardSerialPort::IsOpen() const {
    return port_.isOpen();
}

// A pseudo-terminal has no modem lines; the failure is harmless there and on a real port the
// reader works without them, so the result is not checked.
void QtCardSerialPort::SetDtr(bool on) {
    if (port_.isOpen())
        port_.setDataTerminalReady(on);
}

void QtCardSerialPort::SetRts(bool on) {
    if (port_.isOpen())
        port_.setRequestToSend(on);
}

void QtCardSerialPort::Purge() {
    if (port_.isOpen())
        port_.clear(QSerialPort::Input);
}

bool QtCardSerialPort::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) {
    if (!port_.isOpen())
        return false;
    const auto written =
        port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size()))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (port_.bytesToWrite() > 0) {
        const auto left = timeout.count() - timer.elapsed();
        if (left <= 0 || !port_.waitForBytesWritten(static_cast<int>(left)))
            return port_.bytesToWrite() == 0;
    }
    return true;
}

std::size_t QtCardSerialPort::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds interByte,
                                   std::chrono::milliseconds total) {
    if (!port_.isOpen())
        return 0;
    QElapsedTimer timer;
    timer.start();
    std::size_t received = 0;
    while (received < buffer.size()) {
        if (port_.bytesAvailable() == 0) {
            const long long left = total.count() - timer.elapsed();
            if (left <= 0)
                break;
            const long long wait = received == 0 ? left : std::min<long long>(interByte.count(), left);
            if (!port_.waitForReadyRead(static_cast<int>(wait)))
                break;
        }
        const auto n = port_.read(reinterpret_cast<char*>(buffer.data() + received),
                                  static_cast<qint64>(buffer.size() - received));
        if (n < 0)
            break;
        received += static_cast<std::size_t>(n);
    }
    return received;
}

void QtCardSerialPort::Pause(std::chrono::microseconds duration) {
    QThread::usleep(static_cast<unsigned long>(duration.count()));
}

QStringList SerialPortNames() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    names.sort();
    return names;
}
