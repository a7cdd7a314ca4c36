#pragma once

#include <QString>

#include <functional>
#include <memory>

class HttpClient;
class QIODevice;

// The destination of a download: the body goes to a temporary file beside
// the path, which replaces the file of that path (keeping its permissions)
// only when the whole body has come. A failed or abandoned transfer leaves
// the former file as it was and no temporary file.
class DownloadFile
{
public:
    // Throws "Ne peut créer le fichier %s" when the file cannot be created
    // there (no such directory, no right, a directory of that name, empty
    // path).
    explicit DownloadFile(const QString &path);
    ~DownloadFile();
    DownloadFile(const DownloadFile &) = delete;
    DownloadFile &operator=(const DownloadFile &) = delete;

    QIODevice *device();
    // The system's message for the write that failed ("Disque plein"...);
    // empty while every write succeeded.
    QString writeError() const;
    // Puts the received file in place. Throws "Ne peut créer le fichier %s".
    void commit();
    // Drops what was received.
    void discard();

private:
    class Device;
    QString m_path;
    std::unique_ptr<Device> m_device;
};

// Fetches the client's address into `path`; `started`, when given, runs once
// the file is created, just before the request. Throws VError when the file
// cannot be created, written ("Disque plein"...) or put in place, and the
// client's HttpError when the transfer fails or brings nothing; the file at
// `path` is then untouched.
qint64 download(HttpClient &client, const QString &path, const std::function<void()> &started = {});
