#pragma once

#include <QSaveFile>
#include <QString>

class HttpClient;

// The destination of a download: the body goes to a temporary file beside
// the path, which replaces the file of that path only when the whole body has
// come. A failed or abandoned transfer leaves the former file as it was and
// no temporary file.
class DownloadFile
{
public:
    // Throws "Ne peut créer le fichier %s" when the file cannot be created
    // there (no such directory, no right, empty path).
    explicit DownloadFile(const QString &path);
    QIODevice *device() { return &m_file; }
    // Puts the received file in place. Throws "Ne peut créer le fichier %s".
    void commit();
    // Drops what was received.
    void discard() { m_file.cancelWriting(); }

private:
    QString m_path;
    QSaveFile m_file;
};

// Fetches the client's address into `path`. Throws the client's HttpError
// (the file at `path` untouched) or VError.
qint64 download(HttpClient &client, const QString &path);
