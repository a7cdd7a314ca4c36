#include "exchange/download.h"

#include "base/errors.h"
#include "net/HttpClient.h"

#include <QFileInfo>

DownloadFile::DownloadFile(const QString &path) : m_path(path), m_file(path)
{
    // Unbuffered: a failed write is known at once and forbids the commit.
    if (path.trimmed().isEmpty() || QFileInfo(path).isDir() ||
        !m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw VError::cannotCreate(path);
}

void DownloadFile::commit()
{
    if (!m_file.commit()) throw VError::cannotCreate(m_path);
}

qint64 download(HttpClient &client, const QString &path)
{
    DownloadFile file(path);
    client.setDestination(file.device());
    try {
        client.get();
    } catch (...) {
        client.setDestination(nullptr);
        file.discard();
        throw;
    }
    client.setDestination(nullptr);
    file.commit();
    return client.bytesReceived();
}
