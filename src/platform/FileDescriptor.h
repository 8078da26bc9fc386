#pragma once

#include <unistd.h>

#include <utility>

// Owns a file descriptor (-1 for none) and closes it when it goes. Close() closes it early and
// reports the result, which matters for a file that was written.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd = -1) : FFd(fd) {}
    TFileDescriptor(TFileDescriptor&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept {
        if (this != &other) {
            CloseQuietly();
            FFd = std::exchange(other.FFd, -1);
        }
        return *this;
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() { CloseQuietly(); }

    int Fd() const { return FFd; }
    bool Close() { return ::close(std::exchange(FFd, -1)) == 0; }

private:
    void CloseQuietly() {
        if (FFd >= 0) {
            ::close(FFd);
        }
    }

    int FFd;
};
