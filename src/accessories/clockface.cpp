#include "accessories/clockface.h"

#include "base/formats.h"

#include <algorithm>
#include <ctime>

void ClockFace::show(const QDateTime &moment)
{
    const QTime t = moment.time();
    const QDate d = moment.date();
    m_hour = t.hour();
    m_minute = t.minute();
    m_second = t.second();
    m_day = d.day();
    m_month = d.month();
    m_year = std::clamp(d.year(), 1900, 2099);
    clampDay();
}

QString ClockFace::timeText() const
{
    return QStringLiteral("%1:%2:%3")
        .arg(m_hour, 2, 10, QLatin1Char('0'))
        .arg(m_minute, 2, 10, QLatin1Char('0'))
        .arg(m_second, 2, 10, QLatin1Char('0'));
}

QString ClockFace::dateText() const
{
    return QStringLiteral("%1/%2/%3")
        .arg(m_day, 2, 10, QLatin1Char('0'))
        .arg(m_month, 2, 10, QLatin1Char('0'))
        .arg(m_year, 4, 10, QLatin1Char('0'));
}

QDateTime ClockFace::displayed() const
{
    const QString t = timeText();
    const QString d = dateText();
    const QDate date(d.mid(6, 4).toInt(), d.mid(3, 2).toInt(), d.left(2).toInt());
    const QTime time(t.left(2).toInt(), t.mid(3, 2).toInt(), t.mid(6, 2).toInt(), 0);
    return QDateTime(date, time);
}

void ClockFace::clampDay()
{
    m_day = std::clamp(m_day, 1, QDate(m_year, m_month, 1).daysInMonth());
}

void ClockFace::spin(Field field, bool up)
{
    const int step = up ? 1 : -1;
    switch (field) {
    case Hr:
        m_hour = std::clamp(m_hour + step, 0, 23);
        break;
    case Mn:
        m_minute = std::clamp(m_minute + step, 0, 59);
        break;
    case Jo:
        m_day += step;
        break;
    case Mo:
        m_month = std::clamp(m_month + step, 1, 12);
        break;
    case An:
        if (m_year < 100) m_year += 1900;
        m_year = std::clamp(m_year + step, 1900, 2099);
        break;
    case None:
        return;
    }
    clampDay();
}

namespace
{

class SystemClockSetter : public ClockSetter
{
public:
    bool set(const QDateTime &localTime) override
    {
        if (!localTime.isValid()) return false;
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(localTime.toSecsSinceEpoch());
        ts.tv_nsec = 0;
        return clock_settime(CLOCK_REALTIME, &ts) == 0;
    }
};

SystemClockSetter systemSetter;
ClockSetter *installed = nullptr;

} // namespace

ClockSetter &ClockSetter::get()
{
    return installed ? *installed : systemSetter;
}

void ClockSetter::install(ClockSetter *setter)
{
    installed = setter;
}
