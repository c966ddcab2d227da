#pragma once
// The program's failures: a failing file, printer, clipboard or platform
// operation throws one of these with the text the user is to read. Nothing
// catches them but the one application-level handler (platform/guarded.h),
// which shows the error box and lets the program go on.

#include <QString>
#include <exception>

namespace platform {

class Exception : public std::exception {
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// An input/output failure that carries the error code its message was made
// from (codes as the program's messages use them: 2 not found, 3 bad name,
// 5 access denied, 183 already exists, ...).
class EInOutError : public Exception {
public:
    EInOutError(QString message, int code) : Exception(std::move(message)), m_code(code) {}
    int errorCode() const noexcept { return m_code; }

private:
    int m_code;
};

} // namespace platform
