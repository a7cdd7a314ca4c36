#pragma once

#include <QDate>
#include <QDateTime>

// Today and now, replaceable so that tests never depend on the real date.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
    QDate today() const { return now().date(); }

    static const Clock &get();
    // Installs a clock (not owned); nullptr puts the system clock back.
    static void install(const Clock *clock);
};

// A clock that always tells the same moment.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime moment) : m_moment(std::move(moment)) {}
    QDateTime now() const override { return m_moment; }
    void set(const QDateTime &moment) { m_moment = moment; }

private:
    QDateTime m_moment;
};
