#ifndef KETRION_STATUS_H
#define KETRION_STATUS_H

#include <QString>

// How a read, a write or a run ended: done, or refused with the reason for the
// user. A success may carry a message too (a reader's summary).
class Status
{
public:
    static Status success(const QString &message = QString()) { return Status(true, message); }
    static Status failure(const QString &message) { return Status(false, message); }

    bool ok() const { return m_ok; }
    const QString &message() const { return m_message; }

private:
    Status(bool ok, const QString &message) : m_ok(ok), m_message(message) { }

    bool m_ok;
    QString m_message;
};

#endif
