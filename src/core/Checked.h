#pragma once

#include <QString>

#include <optional>
#include <utility>

// Why a check or a write refused: the office's text, and the column it concerns,
// so that a window can put the cursor into that column's box (empty when the
// refusal concerns no one box).
struct Refusal
{
    QString text;
    QString field = {};
};

// What a write that hands nothing back hands back when it was done.
struct Done
{
};

// The outcome of a check or a checked write: the checked record or the write's
// result, or the refusal that says why nothing was stored. Every store checks
// and refuses through it, so that a window, the command line and an import meet
// the same rules and read the same texts.
template <class T = Done> class Checked
{
public:
    Checked(T value) : m_value(std::move(value)) {}
    Checked(Refusal refusal) : m_refusal(std::move(refusal)) {}

    bool ok() const { return m_value.has_value(); }
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    // Empty when ok().
    const Refusal& refusal() const { return m_refusal; }

private:
    std::optional<T> m_value;
    Refusal m_refusal;
};

// A checked record handed to `store`, which may refuse too (a rule that reads
// the database): the number the record is stored under, or the first refusal.
template <class Record, class Store> Checked<qlonglong> storeChecked(Checked<Record> checked, Store&& store)
{
    if (!checked.ok())
        return checked.refusal();
    const Checked<> stored = std::forward<Store>(store)(checked.value());
    if (!stored.ok())
        return stored.refusal();
    return checked.value().id;
}
