#include "faultdisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Sets or clears the immutable flag of a file; true when done.
bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

SmallDisk::SmallDisk(const char *size)
{
    if (::geteuid() != 0 || !m_dir.isValid()) return;
    const QByteArray options = QByteArray("size=") + size;
    m_mounted =
        ::mount("tmpfs", native(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted) ::umount2(native(m_dir.path()).constData(), MNT_DETACH);
}

QStringList SmallDisk::entries() const
{
    return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

bool SmallDisk::fill() const
{
    const int fd = ::open(native(file(QStringLiteral("filler"))).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const QByteArray block(4096, 'x');
    ssize_t n = 0;
    while ((n = ::write(fd, block.constData(), size_t(block.size()))) > 0) {
    }
    bool full = n < 0 && errno == ENOSPC;
    // The last pages a block did not fill, byte by byte.
    while (full && ::write(fd, "x", 1) == 1) {
    }
    ::close(fd);
    return full;
}

bool SmallDisk::remountReadOnly() const
{
    return m_mounted && ::mount(nullptr, native(m_dir.path()).constData(), nullptr,
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void addFaultRows()
{
    QTest::addColumn<DiskFault>("fault");
    QTest::newRow("disk full") << DiskFault::FullDisk;
    QTest::newRow("disk read-only") << DiskFault::ReadOnlyDisk;
    QTest::newRow("file immutable") << DiskFault::ImmutableFile;
    QTest::newRow("file replaced by a directory") << DiskFault::FileIsDirectory;
    QTest::newRow("file removed") << DiskFault::FileRemoved;
    QTest::newRow("start directory removed") << DiskFault::DirectoryRemoved;
}

bool faultFailsWrite(DiskFault fault)
{
    return fault != DiskFault::FileRemoved;
}

QString writeCause(DiskFault fault)
{
    switch (fault) {
    case DiskFault::FullDisk:
        return QStringLiteral(" : disque plein");
    case DiskFault::DirectoryRemoved:
    case DiskFault::FileRemoved:
        return QStringLiteral(" : fichier introuvable");
    case DiskFault::FileIsDirectory:
        return QStringLiteral(" : erreur E/S %1").arg(EISDIR);
    default:
        return QStringLiteral(" : acc\u00e8s au fichier refus\u00e9");
    }
}

FaultyDir::FaultyDir(DiskFault fault) : m_fault(fault), m_previous(QDir::currentPath())
{
    switch (fault) {
    case DiskFault::FullDisk:
    case DiskFault::ReadOnlyDisk:
    case DiskFault::ImmutableFile:
        m_disk = std::make_unique<SmallDisk>();
        if (!m_disk->mounted()) {
            m_unavailable = QStringLiteral("needs root to mount a small tmpfs; skipped");
            return;
        }
        m_path = m_disk->path();
        break;
    default:
        // A directory of its own, so that removing it leaves its parent.
        m_path = m_plain.filePath(QStringLiteral("start"));
        QDir().mkpath(m_path);
    }
    QDir::setCurrent(m_path);
}

FaultyDir::~FaultyDir()
{
    QDir::setCurrent(m_previous);
    if (!m_immutable.isEmpty()) setImmutable(m_immutable, false);
}

QString FaultyDir::file(const QString &name) const
{
    return QDir(m_path).filePath(name);
}

bool FaultyDir::stage(const QString &name)
{
    const QString path = file(name);
    switch (m_fault) {
    case DiskFault::FullDisk:
        return m_disk->fill();
    case DiskFault::ReadOnlyDisk:
        return m_disk->remountReadOnly();
    case DiskFault::ImmutableFile:
        if (!setImmutable(path, true)) return false;
        m_immutable = path;
        return true;
    case DiskFault::FileIsDirectory:
        return QFile::remove(path) && QDir().mkdir(path);
    case DiskFault::FileRemoved:
        return QFile::remove(path);
    case DiskFault::DirectoryRemoved:
        return QDir(m_path).removeRecursively() && !QFileInfo::exists(m_path);
    }
    return false;
}

QStringList FaultyDir::entries() const
{
    return QDir(m_path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int killedWhileWriting(qint64 limit, const std::function<void()> &write)
{
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit r = {rlim_t(limit), rlim_t(limit)};
        ::setrlimit(RLIMIT_FSIZE, &r);
        try {
            write();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

WriteLimit::WriteLimit(qint64 limit)
{
    rlimit former = {};
    if (::getrlimit(RLIMIT_FSIZE, &former) != 0) return;
    m_former[0] = qint64(former.rlim_cur);
    m_former[1] = qint64(former.rlim_max);
    // Ignored, the signal lets the write fail with EFBIG instead of killing.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit r = {rlim_t(limit), former.rlim_max};
    m_set = ::setrlimit(RLIMIT_FSIZE, &r) == 0;
}

WriteLimit::~WriteLimit()
{
    if (!m_set) return;
    const rlimit r = {rlim_t(m_former[0]), rlim_t(m_former[1])};
    ::setrlimit(RLIMIT_FSIZE, &r);
}
