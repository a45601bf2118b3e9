#pragma once
// The card reader's serial port through QSerialPort, and the list of the ports present.

#include "cards/CardSerialPort.h"

#include <QSerialPort>
#include <QStringList>

class QtCardSerialPort : public CardSerialPort {
public:
    QtCardSerialPort();

    bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override;
    void SetDtr(bool on) override;
    void SetRts(bool on) override;
    void Purge() override;
    bool Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
    std::size_t Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds interByte,
                     std::chrono::milliseconds total) override;
    void Pause(std::chrono::microseconds duration) override;

private:
    QSerialPort port_;
};

// The names of the serial ports present, sorted as text (so "ttyS10" comes before "ttyS2").
QStringList SerialPortNames();
