#pragma once

#include <QCursor>
#include <QGuiApplication>

// The wait cursor while a command computes, restored when the command ends,
// whether it ends normally or by an error.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
