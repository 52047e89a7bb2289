#pragma once

#include <QDate>
#include <QDateTime>

// The one source of "today" and "now". Screens and logic take a Clock so that
// tests of reminders, default dates and the monthly run can fix the date.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }

    // The clock of the running application: local time of the machine.
    static const Clock& system();
};

// A clock that shows a set time until it is set again.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(QDateTime now) { m_now = std::move(now); }

private:
    QDateTime m_now;
};
