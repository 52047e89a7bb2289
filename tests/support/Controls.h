#pragma once

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

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

// The open (visible) dialog or window of that name under `parent`, after the ones
// closed before are gone; null when none is open.
template <class T> T* openChild(const QObject* parent, const char* name)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (T* child : parent->findChildren<T*>(QLatin1StringView(name))) {
        if (child->isVisible())
            return child;
    }
    return nullptr;
}

// The displayed texts of one column of a model, row by row.
inline QStringList columnTexts(const QAbstractItemModel* model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}
