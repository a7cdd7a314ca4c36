#include "portfolio/earnings.h"

#include "base/formats.h"

#include <QString>

#include <cmath>
#include <vector>

namespace ptf
{

std::optional<double> annualReturn(const QList<Flow> &flows)
{
    QDate last;
    bool paid = false, received = false;
    for (const Flow &f : flows) {
        if (!f.date.isValid()) return std::nullopt;
        if (!last.isValid() || f.date > last) last = f.date;
        paid = paid || f.amount < 0;
        received = received || f.amount > 0;
    }
    if (!paid || !received) return std::nullopt;
    std::vector<std::pair<double, double>> carried; // amount, years to the last date
    carried.reserve(size_t(flows.size()));
    double longest = 0;
    for (const Flow &f : flows) {
        const double years = double(f.date.daysTo(last)) / 365.0;
        carried.emplace_back(f.amount, years);
        longest = std::max(longest, years);
    }
    if (longest == 0) return std::nullopt;
    const auto valueAt = [&carried](double rate) {
        const double growth = std::log1p(rate);
        double sum = 0;
        for (const auto &[amount, years] : carried)
            sum += amount * std::exp(growth * years);
        return sum;
    };
    double lo = -0.9999, hi = 10.0;
    double fLo = valueAt(lo);
    const double fHi = valueAt(hi);
    if (fLo == 0) return lo;
    if (fHi == 0) return hi;
    if ((fLo < 0) == (fHi < 0)) return std::nullopt;
    for (int i = 0; i < 100 && hi - lo > 1e-12; ++i) {
        const double mid = (lo + hi) / 2;
        const double fMid = valueAt(mid);
        if (fMid == 0) return mid;
        if ((fMid < 0) == (fLo < 0)) {
            lo = mid;
            fLo = fMid;
        } else {
            hi = mid;
        }
    }
    return (lo + hi) / 2;
}

QString returnText(const std::optional<double> &rate)
{
    if (!rate) return QStringLiteral("\u2014");
    const double percent = std::round(*rate * 10000) / 100;
    return formatPrice(percent == 0 ? 0.0 : percent) + QLatin1Char('%');
}

} // namespace ptf
