#include "base/DirLock.h"

#include <QDir>
#include <QLockFile>

DirLock::DirLock(const QString &dir)
    : m_lock(std::make_unique<QLockFile>(QDir(dir).filePath(fileName())))
{
    // No age makes a lock stale: only the death of its process does.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        m_held = true;
        return;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_held = true; // nothing can be locked, nor written, there
        return;
    }
    QString host, application;
    m_lock->getLockInfo(&m_holder, &host, &application);
}

DirLock::~DirLock() = default;
