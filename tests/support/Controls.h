#pragma once

#include <QDebug>
#include <QObject>
#include <QString>

#include <stdexcept>

// The control of the given type with the given object name under `parent`. A
// missing control fails the test with the name in the message.
template <class T> T* control(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1StringView(name));
    if (!found) {
        qWarning("control not found: %s", name);
        throw std::runtime_error(std::string("control not found: ") + name);
    }
    return found;
}
