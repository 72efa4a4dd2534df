#pragma once

#include <QIODevice>

#include <cerrno>

namespace quillo::test {

// A device that accepts `limit` bytes and then fails, like a full disk.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override {
        if (m_written + len > m_limit) {
            setErrorString(QStringLiteral("No space left on device"));
            errno = ENOSPC;
            return -1;
        }
        m_written += len;
        return len;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

} // namespace quillo::test
