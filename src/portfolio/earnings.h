#pragma once

#include <QDate>
#include <QList>

#include <optional>

// What the portfolio earned: the annualised money-weighted return of dated
// cash flows, as the investor sees them (paid out negative, received
// positive).
namespace ptf
{

struct Flow {
    QDate date;
    double amount;
};

// The internal rate of return r of the flows: the rate at which their
// values carried to the last date add up to zero,
//   sum of amount x (1 + r) ^ (days from its date to the last date / 365),
// days counted as they are (actual/365). Found by bisection between
// -99.99 % and +1000 %; none when the flows do not all lie on one side of
// zero there (flows of one sign only, all on one day, or a rate outside).
std::optional<double> annualReturn(const QList<Flow> &flows);

// "0.00" followed by "%", or "—" when there is no return.
QString returnText(const std::optional<double> &rate);

} // namespace ptf
