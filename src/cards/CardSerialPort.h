#pragma once
// The serial port as the SmartMedia card reader needs it. The desktop program drives a real port
// through Qt; tests drive the reading code against a simulated reader.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class CardSerialPort {
public:
    virtual ~CardSerialPort() = default;

    // Opens the port by name (a device path or a name from the port list) with the reader's line
    // settings: 19200 bit/s, 8 data bits, no parity, 1 stop bit, no flow control. False on failure.
    virtual bool Open(const std::string& name) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual void SetDtr(bool on) = 0;
    virtual void SetRts(bool on) = 0;
    // Discards whatever has been received and not read yet.
    virtual void Purge() = 0;
    virtual bool Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) = 0;
    // Reads up to buffer.size() bytes. Gives up when the total time is over or, once a byte has
    // come, when no further byte follows within interByte. Returns the number of bytes received.
    virtual std::size_t Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds interByte,
                             std::chrono::milliseconds total) = 0;
    // A plain delay between a command and its reply.
    virtual void Pause(std::chrono::microseconds duration) = 0;
};
