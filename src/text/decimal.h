#pragma once

#include <QByteArray>

#include <cstdint>

namespace letterloom::text {

// True for a non-empty text of the digits 0 to 9 only: no sign, no blank, no point.
bool IsAllDigits(const QByteArray &text);
// The decimal value of an all-digit text, 0 for any other text. A value above
// 2147483647 gives 2147483647.
std::int32_t DigitsToInt(const QByteArray &text);

// The two-way choice: onTrue when the condition holds, else onFalse.
template <typename T>
T Choose(bool condition, T onTrue, T onFalse)
{
    return condition ? onTrue : onFalse;
}

}  // namespace letterloom::text
