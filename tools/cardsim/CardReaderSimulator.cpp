#include "CardReaderSimulator.h"

#include "CardImage.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

CardReaderModel::CardReaderModel(std::vector<std::uint8_t> pages, CardSimOptions options)
    : pages_(std::move(pages)), options_(options) {
    entries_ = options_.Entries.value_or(RecordedEntries(pages_));
    if (options_.NoMarker && pages_.size() >= SmartMedia::EntrySize) {
        const CardEntry vehicle = VehicleEntry(0, 0, 50, 5, 1);
        std::copy(vehicle.Bytes.begin(), vehicle.Bytes.end(), pages_.begin());
    }
}

std::vector<std::uint8_t> CardReaderModel::Page(std::size_t index) const {
    const std::size_t at = index * SmartMedia::PageSize;
    if (at + SmartMedia::PageSize > pages_.size())
        return std::vector<std::uint8_t>(SmartMedia::PageSize, 0xFF); // erased
    return {pages_.begin() + static_cast<long>(at),
            pages_.begin() + static_cast<long>(at + SmartMedia::PageSize)};
}

std::vector<std::uint8_t> CardReaderModel::PageReply(std::size_t index) {
    ++pageReplies_;
    auto page = Page(index);
    lastPageBroken_ = options_.ShortPageEvery > 0 && pageReplies_ % options_.ShortPageEvery == 0;
    if (lastPageBroken_)
        page.resize(static_cast<std::size_t>(options_.ShortPageBytes));
    return page;
}

std::vector<std::uint8_t> CardReaderModel::Reply(std::uint8_t command) {
    if (options_.Silent)
        return {};
    switch (command) {
    case SmartMedia::StatusCommand:
        return options_.NoCard ? std::vector<std::uint8_t>{0xFF, 0xFF}
                               : std::vector<std::uint8_t>{0x00, 0x01};
    case SmartMedia::AmountCommand: {
        const long long bytes = options_.NoData ? 0 : 4LL * entries_;
        return {static_cast<std::uint8_t>(bytes >> 16), static_cast<std::uint8_t>(bytes >> 8),
                static_cast<std::uint8_t>(bytes)};
    }
    case SmartMedia::FirstPageCommand:
        current_ = 0;
        return PageReply(current_);
    case SmartMedia::NextPageCommand:
        // After a page that broke off the reader sends the same page again.
        if (!lastPageBroken_)
            ++current_;
        return PageReply(current_);
    default:
        return {};
    }
}

std::optional<PseudoTerminal> OpenPseudoTerminal() {
    PseudoTerminal pty;
    char name[256] = {};
    if (openpty(&pty.Master, &pty.Slave, name, nullptr, nullptr) != 0)
        return std::nullopt;
    termios raw{};
    for (const int fd : {pty.Master, pty.Slave}) {
        if (tcgetattr(fd, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(fd, TCSANOW, &raw);
        }
    }
    pty.SlavePath = name;
    return pty;
}

void ClosePseudoTerminal(PseudoTerminal& pty) {
    if (pty.Master >= 0)
        close(pty.Master);
    if (pty.Slave >= 0)
        close(pty.Slave);
    pty.Master = pty.Slave = -1;
}

namespace {
bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 20);
            continue;
        }
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}
} // namespace

void ServeCardReader(int fd, CardReaderModel& model, const std::atomic<bool>& stop) {
    while (!stop) {
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, 20);
        if (ready < 0 && errno != EINTR)
            return;
        if (ready <= 0)
            continue;
        if ((p.revents & POLLIN) == 0) {
            // The program has closed the port (hang-up); wait for the next opening.
            usleep(20000);
            continue;
        }
        std::uint8_t buffer[64];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EIO)) {
            usleep(20000);
            continue;
        }
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i)
            if (!WriteAll(fd, model.Reply(buffer[i])))
                return;
    }
}
