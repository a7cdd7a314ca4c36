#include "base/textfile.h"

#include "base/errors.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

namespace
{

// Code points of bytes 0x80 to 0x9F; the five holes of the code page map to
// the C1 control of the same value, so that every byte survives a round trip.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString decodeWindows1252(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i) {
        const unsigned char c = s[i];
        d[i] = (c >= 0x80 && c < 0xA0) ? QChar(kHigh[c - 0x80]) : QChar(char16_t(c));
    }
    return out;
}

QByteArray encodeWindows1252(const QString &text)
{
    static const QHash<char16_t, char> high = [] {
        QHash<char16_t, char> h;
        for (int i = 0; i < 32; ++i)
            h.insert(kHigh[i], char(0x80 + i));
        return h;
    }();
    QByteArray out(text.size(), Qt::Uninitialized);
    char *d = out.data();
    const QChar *s = text.constData();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t u = s[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            d[i] = char(u);
        else
            d[i] = high.value(u, '?');
    }
    return out;
}

QStringList splitTextLines(const QString &text)
{
    QStringList lines;
    const QChar *s = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw VError::cannotOpen(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw VError::cannotOpen(path);
    return splitTextLines(decodeWindows1252(bytes));
}

bool writeLinesTo(QIODevice &device, const QStringList &lines)
{
    // Written in chunks so that a store of a million lines does not need a
    // second copy of itself in memory.
    QByteArray chunk;
    chunk.reserve(1 << 20);
    for (const QString &line : lines) {
        chunk += encodeWindows1252(line);
        chunk += "\r\n";
        if (chunk.size() >= (1 << 20)) {
            if (device.write(chunk) != chunk.size()) return false;
            chunk.clear();
        }
    }
    return chunk.isEmpty() || device.write(chunk) == chunk.size();
}

void writeLines(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw VError::cannotCreate(path);
    if (!writeLinesTo(file, lines)) {
        file.cancelWriting();
        file.commit();
        throw VError::cannotCreate(path);
    }
    if (!file.commit()) throw VError::cannotCreate(path);
}
