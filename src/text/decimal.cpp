#include "text/decimal.h"

#include <limits>

namespace letterloom::text {

bool IsAllDigits(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::int32_t DigitsToInt(const QByteArray &text)
{
    if (!IsAllDigits(text))
        return 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > kMax)
            return std::int32_t(kMax);
    }
    return std::int32_t(value);
}

}  // namespace letterloom::text
