#include "exchange/download.h"

#include "base/errors.h"
#include "base/textfile.h"
#include "net/HttpClient.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A temporary file written straight to the system, so that a failed write
// is known at once, with its error number.
class DownloadFile::Device : public QIODevice
{
public:
    int fd = -1;
    int error = 0; // of the first write that failed
    QByteArray name;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (error != 0) return -1;
        const qint64 total = size;
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size_t(size));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error = n < 0 ? errno : ENOSPC;
                setErrorString(VError::io(error).message());
                return -1;
            }
            data += n;
            size -= n;
        }
        return total;
    }
};

DownloadFile::DownloadFile(const QString &path) : m_path(path), m_device(std::make_unique<Device>())
{
    if (path.trimmed().isEmpty() || QFileInfo(path).isDir()) throw VError::cannotCreate(path);
    const QByteArray target = QFile::encodeName(finalTarget(path));
    for (int attempt = 0; attempt < 100 && m_device->fd < 0; ++attempt) {
        m_device->name =
            target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        // 0666 less the umask, as a new file gets.
        m_device->fd =
            ::open(m_device->name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_device->fd < 0 && errno != EEXIST) break;
    }
    if (m_device->fd < 0) throw VError::cannotCreate(path);
    struct stat former = {};
    if (::stat(target.constData(), &former) == 0 &&
        ::fchmod(m_device->fd, former.st_mode & 07777) != 0) {
        discard();
        throw VError::cannotCreate(path);
    }
    m_device->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

DownloadFile::~DownloadFile()
{
    discard();
}

QIODevice *DownloadFile::device()
{
    return m_device.get();
}

QString DownloadFile::writeError() const
{
    return m_device->error != 0 ? m_device->errorString() : QString();
}

void DownloadFile::commit()
{
    if (m_device->fd < 0) throw VError::cannotCreate(m_path);
    const int fd = m_device->fd;
    m_device->fd = -1;
    m_device->close();
    // Synced before the renaming: the file is either the former or the whole
    // new one, even after a crash.
    const bool written = m_device->error == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    const QByteArray target = QFile::encodeName(finalTarget(m_path));
    if (!written || !closed || ::rename(m_device->name.constData(), target.constData()) != 0) {
        ::unlink(m_device->name.constData());
        throw VError::cannotCreate(m_path);
    }
}

void DownloadFile::discard()
{
    if (m_device->fd < 0) return;
    ::close(m_device->fd);
    m_device->fd = -1;
    m_device->close();
    ::unlink(m_device->name.constData());
}

qint64 download(HttpClient &client, const QString &path, const std::function<void()> &started)
{
    DownloadFile file(path);
    if (started) started();
    client.setDestination(file.device());
    try {
        client.get();
    } catch (const HttpError &) {
        client.setDestination(nullptr);
        file.discard();
        // The file failed, not the transfer: the system says why.
        if (!file.writeError().isEmpty()) throw VError(file.writeError());
        throw;
    } catch (...) {
        client.setDestination(nullptr);
        file.discard();
        throw;
    }
    client.setDestination(nullptr);
    // Never a file replaced by nothing: an empty reply cannot be told from
    // a server that gave up after its head.
    if (client.bytesReceived() == 0) {
        file.discard();
        throw HttpError(0, QStringLiteral("Le serveur n'a envoyé aucune donnée"));
    }
    file.commit();
    return client.bytesReceived();
}
