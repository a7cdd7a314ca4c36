#pragma once

// Faults of the file system for the tests of the files the program writes:
// a small tmpfs to fill or to mount read-only, a file made immutable or
// replaced by a directory, the start directory removed, a process killed in
// the middle of a write. Mounting and the immutable flag need root; the
// other faults are staged in a plain temporary directory.

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A tmpfs of `size` mounted for the object's lifetime (root only).
class SmallDisk
{
public:
    explicit SmallDisk(const char *size = "256k");
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // The files there, by name, hidden ones included.
    QStringList entries() const;
    // Takes every free byte with a file "filler"; true once a write met ENOSPC.
    bool fill() const;
    // Mounts it again read-only; true when done.
    bool remountReadOnly() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

enum class DiskFault {
    FullDisk,         // every byte of the disk taken
    ReadOnlyDisk,     // the disk mounted read-only
    ImmutableFile,    // the file can be neither replaced nor removed (chattr +i)
    FileIsDirectory,  // the file removed and a directory made in its place
    FileRemoved,      // the file removed
    DirectoryRemoved, // the start directory removed with everything in it
};

Q_DECLARE_METATYPE(DiskFault)

// Adds the column "fault" and one row per fault, named after it, to the
// data table of a test.
void addFaultRows();
// False for the one fault a save gets over: a removed file is written anew.
bool faultFailsWrite(DiskFault fault);
// What follows "Ne peut créer le fichier X" when a write meets the fault:
// " : " and the system's cause.
QString writeCause(DiskFault fault);

// A start directory where one fault is staged after the program read its
// files. The current directory while it lives, as a start directory is.
class FaultyDir
{
public:
    explicit FaultyDir(DiskFault fault);
    ~FaultyDir();
    FaultyDir(const FaultyDir &) = delete;
    FaultyDir &operator=(const FaultyDir &) = delete;

    // Why this fault cannot be staged on this machine; empty when it can.
    QString unavailable() const { return m_unavailable; }
    QString path() const { return m_path; }
    QString file(const QString &name) const;
    // Stages the fault on that file of the directory; false when it failed.
    bool stage(const QString &name);
    // Every entry of the directory, files and directories, by name.
    QStringList entries() const;

private:
    DiskFault m_fault;
    QTemporaryDir m_plain;
    std::unique_ptr<SmallDisk> m_disk;
    QString m_path;
    QString m_immutable;
    QString m_previous;
    QString m_unavailable;
};

// The bytes of a file; empty when it cannot be read.
QByteArray fileBytes(const QString &path);

// Runs `write` in a child process whose files may not grow past `limit`
// bytes: the kernel kills it (SIGXFSZ) in the middle of the write, as a
// crash or a power cut would. Returns the signal that ended the child, 0
// when it exited by itself.
int killedWhileWriting(qint64 limit, const std::function<void()> &write);

// Makes the next writes of this process fail, past `limit` bytes of any one
// file (EFBIG), for the object's lifetime: a write that breaks half-way.
class WriteLimit
{
public:
    explicit WriteLimit(qint64 limit);
    ~WriteLimit();

private:
    qint64 m_former[2] = {};
    bool m_set = false;
};
