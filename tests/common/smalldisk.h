#pragma once

// A small tmpfs mounted on a temporary directory for the object's lifetime,
// to meet a full disk or a read-only file system for real. Mounting needs
// root: tests skip when mounted() is false.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <unistd.h>

class SmallDisk
{
public:
    explicit SmallDisk(const QByteArray &size = "256k") : m_size(size)
    {
        if (geteuid() != 0 || !m_dir.isValid()) return;
        m_mounted = ::mount("tmpfs", mountPoint().constData(), "tmpfs", 0,
                            ("size=" + size).constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted) ::umount2(mountPoint().constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // Every entry but "." and "..", hidden ones included, by name.
    QStringList entries() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    // Makes the file system read-only; true when done.
    bool makeReadOnly() const
    {
        return m_mounted && ::mount("tmpfs", mountPoint().constData(), "tmpfs",
                                    MS_REMOUNT | MS_RDONLY, ("size=" + m_size).constData()) == 0;
    }

private:
    QByteArray mountPoint() const { return QFile::encodeName(m_dir.path()); }

    QTemporaryDir m_dir;
    QByteArray m_size;
    bool m_mounted = false;
};
