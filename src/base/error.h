#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

namespace letterloom {

// A failure that ends the running command. It carries the message the user
// sees in the error box ("File not found", "Read beyond end of file", ...).
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message);

    QString message() const { return message_; }

private:
    QString message_;
};

// The text of the generic error box: the message, with a full stop appended
// when its last character's code lies above the full stop's own (46).
QString errorBoxText(const QString &message);

// The message for an exception of any kind that escaped a command.
QString messageOf(const std::exception &failure);

}  // namespace letterloom
