#pragma once

#include <QDateTime>
#include <QString>

// The clock's two displays, "hh:mm:ss" and "dd/mm/yyyy", and the spin
// buttons' rules. Only valid values can be reached: hours 0 to 23, minutes
// 0 to 59, days 1 to the last day of the month shown, months 1 to 12, years
// 1900 to 2099.
class ClockFace
{
public:
    enum Field { None = -1, Hr, Mn, Jo, Mo, An };

    void show(const QDateTime &moment);
    QString timeText() const;
    QString dateText() const;
    // The displayed moment, read back from the displays' character positions.
    QDateTime displayed() const;
    // One step of the spin buttons on the field; nothing for None.
    void spin(Field field, bool up);

private:
    void clampDay();

    int m_hour = 0, m_minute = 0, m_second = 0;
    int m_day = 1, m_month = 1, m_year = 2000;
};

// Sets the computer's clock: the application uses the system's, tests
// install their own, so that no test ever changes the machine's clock.
class ClockSetter
{
public:
    virtual ~ClockSetter() = default;
    // The local time to set; false when the system refuses.
    virtual bool set(const QDateTime &localTime) = 0;

    static ClockSetter &get();
    // Installs a setter (not owned); nullptr puts the system's back.
    static void install(ClockSetter *setter);
};
