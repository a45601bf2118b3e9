#pragma once
// Finds a window's control by its type and object name, the way the tests reach the controls
// that the window keeps to itself. An empty name takes the first control of that type.

#include <QObject>
#include <QString>

template <class T> T* Control(const QObject* window, const char* name = "") {
    // A null name matches every object; an empty one only those without a name.
    T* const found = window->findChild<T*>(*name == '\0' ? QString() : QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("The window has no control \"%s\" of the type asked for", name);
    return found;
}
