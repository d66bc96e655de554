#include "base/error.h"

namespace letterloom {

Error::Error(const QString &message)
    : std::runtime_error(message.toStdString()), message_(message) {}

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

QString messageOf(const std::exception &failure)
{
    if (auto *error = dynamic_cast<const Error *>(&failure))
        return error->message();
    if (dynamic_cast<const std::bad_alloc *>(&failure))
        return QStringLiteral("Out of memory");
    return QString::fromLocal8Bit(failure.what());
}

}  // namespace letterloom
