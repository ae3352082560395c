#pragma once
#include "Money.h"
#include <QString>

namespace korvan {

// MoneyMinToBig: an amount in Chinese capital money characters, digit by digit
// with its unit ("壹佰零拾零元整"). Amounts are rounded to cents half away from
// zero. A negative amount is the text of its absolute value after "负"; past
// twelve integer digits the units go on 万 拾 佰 仟 (for 万亿) and then 亿.
QString MoneyMinToBig(Money amount);
QString MoneyMinToBig(double amount);

} // namespace korvan
