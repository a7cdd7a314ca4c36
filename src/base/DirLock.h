#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The one copy of the program that may write in a start directory: it holds
// the lock file "Valmeq.lck" there for its lifetime. A lock left by a process
// that no longer runs is taken over; one of a running process is not, and
// the copy that finds it reads the files without writing any.
class DirLock
{
public:
    explicit DirLock(const QString &dir);
    ~DirLock();
    DirLock(const DirLock &) = delete;
    DirLock &operator=(const DirLock &) = delete;

    static QString fileName() { return QStringLiteral("Valmeq.lck"); }
    // True when this copy holds the directory, or when no lock can be made
    // there (a directory this user may not write, where nothing is written).
    bool held() const { return m_held; }
    // The process that holds it when this copy does not; 0 when unknown.
    qint64 holder() const { return m_holder; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
    qint64 m_holder = 0;
};
