#include "base/contenthash.h"
#include "base/errors.h"
#include "base/textfile.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

// A device with room for so many bytes: a write beyond is cut short, then
// refused.
class FailingBuffer : public QBuffer
{
public:
    explicit FailingBuffer(qint64 room) : m_room(room) {}

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 n = qMin(size, m_room - pos());
        return n > 0 ? QBuffer::writeData(data, n) : -1;
    }

private:
    qint64 m_room;
};

class TestTextFile : public QObject
{
    Q_OBJECT

private:
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static QByteArray crlfJoined(const QStringList &lines)
    {
        QByteArray out;
        for (const QString &line : lines)
            out += line.toLatin1() + "\r\n";
        return out;
    }

private slots:
    void lineEndings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\nc\r\n") << abc;
        QTest::newRow("lf") << QByteArray("a\nb\nc") << abc;
        QTest::newRow("cr") << QByteArray("a\rb\rc\r") << abc;
        QTest::newRow("mixed") << QByteArray("a\r\nb\rc\n") << abc;
        QTest::newRow("empty lines kept")
            << QByteArray("a\r\n\r\n\nb")
            << QStringList{QStringLiteral("a"), QString(), QString(), QStringLiteral("b")};
        QTest::newRow("cr lf split across is one end")
            << QByteArray("a\r\n") << QStringList{QStringLiteral("a")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void lineEndings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("f.txt")), bytes);
        QCOMPARE(readLines(dir.filePath(QStringLiteral("f.txt"))), lines);
    }

    // The file is read by blocks of 4 MiB: a line end on either side of a
    // block's end, or cut by it, ends one line.
    void lineEndings_atTheEndOfABlock_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<QByteArray>("end");
        for (const char *end : {"\r\n", "\r", "\n"})
            for (int shift : {-2, -1, 0, 1})
                QTest::addRow("%s, %d", QByteArray(end).toPercentEncoding().constData(), shift)
                    << shift << QByteArray(end);
    }
    void lineEndings_atTheEndOfABlock()
    {
        QFETCH(int, shift);
        QFETCH(QByteArray, end);
        const qsizetype block = 4 << 20;
        QByteArray bytes(block + shift - 1, 'x');
        bytes[0] = '\xc9'; // É
        bytes += end + "B" + end + end +
                 "\x80"
                 "C";
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("f.txt")), bytes);
        const QStringList lines = readLines(dir.filePath(QStringLiteral("f.txt")));
        QCOMPARE(lines, splitTextLines(decodeWindows1252(bytes)));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0].size(), block + shift - 1);
        QCOMPARE(lines[3], QStringLiteral("€C"));
    }

    void windows1252_roundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            if (b != '\r' && b != '\n') all.append(char(b));
        const QString text = decodeWindows1252(all);
        QCOMPARE(text.size(), all.size()); // one character per byte
        QCOMPARE(encodeWindows1252(text), all);
        QCOMPARE(decodeWindows1252(QByteArray("\xe9\x80\x9c")), QStringLiteral("é€œ"));
        QCOMPARE(encodeWindows1252(QStringLiteral("Août ∑")), QByteArray("Ao\xfbt ?"));
    }

    void writeLines_crlfAndAccents()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Valmeq.prc"));
        writeLines(path, {QStringLiteral("Février"), QString(), QStringLiteral("x\ty")});
        QCOMPARE(read(path), QByteArray("F\xe9vrier\r\n\r\nx\ty\r\n"));
        writeLines(path, {});
        QCOMPARE(read(path), QByteArray());
        QVERIFY(QFile::exists(path));
    }

    void writeLinesTo_failingDevice_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("room");
        QTest::addColumn<bool>("written");
        // Lines of 40 bytes with CR LF; 40,000 of them go out in two chunks.
        QTest::newRow("no room") << 3 << qint64(0) << false;
        QTest::newRow("cut in the first line") << 3 << qint64(10) << false;
        QTest::newRow("cut in the second chunk") << 40000 << qint64(1500000) << false;
        QTest::newRow("one byte short") << 40000 << qint64(1599999) << false;
        QTest::newRow("just enough") << 40000 << qint64(1600000) << true;
    }
    void writeLinesTo_failingDevice()
    {
        QFETCH(int, count);
        QFETCH(qint64, room);
        QFETCH(bool, written);
        const QStringList lines(count,
                                QStringLiteral("19990104\t012000\tEXEMPLE SA\t45,30\t12345"));
        FailingBuffer device(room);
        QVERIFY(device.open(QIODevice::WriteOnly));
        QCOMPARE(writeLinesTo(device, lines), written);
        if (written) QCOMPARE(device.data(), QByteArray(crlfJoined(lines)));
    }

    // A file holds a few lines in its buffer: the disk's refusal comes only
    // with the flush, and must count as a failed write.
    void writeLinesTo_fileRefusingItsBuffer_fails()
    {
        QFile full(QStringLiteral("/dev/full"));
        if (!full.exists()) QSKIP("no /dev/full on this system");
        QVERIFY(full.open(QIODevice::WriteOnly));
        QVERIFY(!writeLinesTo(full, {QStringLiteral("19990104\t012000\tEXEMPLE SA\t45,30")}));
    }

    // Replacing keeps the file's mode, and a link to the file stays a link.
    void replacing_keepsModeAndLink()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Cours.vmq"));
        const QString link = dir.filePath(QStringLiteral("Lien.vmq"));
        write(path, "ancien\r\n");
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, mode));
        QVERIFY(QFile::link(path, link));
        writeLines(link, {QStringLiteral("nouveau")});
        QCOMPARE(read(path), QByteArray("nouveau\r\n"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFile::permissions(path) & 0x7077, mode); // owner, group, others
    }

    void readMissingFile_raisesFrenchMessage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("absent.vmq"));
        try {
            readLines(path);
            QFAIL("no error");
        } catch (const VError &e) {
            QCOMPARE(e.message(), QStringLiteral("Ne peut ouvrir le fichier ") + path);
        }
    }

    void writeIntoMissingDirectory_fails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("nope/Cours.vmq"));
        QVERIFY_THROWS_EXCEPTION(VError, writeLines(path, {QStringLiteral("x")}));
    }

    // A write that fails half-way (the file size limit is reached) leaves the
    // former file exactly as it was.
    void failedWrite_keepsFormerFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Cours.vmq"));
        const QByteArray before("19990104\t012000\tEXEMPLE SA\t45,30\t1200\r\n");
        write(path, before);

        QStringList big;
        for (int i = 0; i < 200000; ++i)
            big.append(QStringLiteral("19990104\t012000\tEXEMPLE SA\t45,30\t%1").arg(i));

        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 64 * 1024;
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        QString message;
        try {
            writeLines(path, big);
        } catch (const VError &e) {
            message = e.message();
        }
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);

        // The system's cause follows, in the download's words (EFBIG).
        QCOMPARE(message, QStringLiteral("Ne peut créer le fichier ") + path +
                              QStringLiteral(" : erreur E/S %1").arg(EFBIG));
        QCOMPARE(read(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Cours.vmq")});
    }

    // What is no regular file, or too big, is refused at once, named.
    void readers_refuseWhatTheyMustNotRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("size"); // of a sparse regular file
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("refusal"); // after "Le fichier <path> "
        const QString notRegular = QStringLiteral("n'est pas un fichier ordinaire");
        QTest::newRow("link to /dev/zero")
            << QStringLiteral("/dev/zero") << qint64(0) << kSmallFileLimit << notRegular;
        QTest::newRow("pipe, nobody writing")
            << QStringLiteral("fifo") << qint64(0) << kSmallFileLimit << notRegular;
        QTest::newRow("one byte too many")
            << QStringLiteral("file") << kSmallFileLimit + 1 << kSmallFileLimit
            << QStringLiteral("est trop grand (17 Mo, au plus 16 Mo)");
        QTest::newRow("over half the memory")
            << QStringLiteral("file") << largeFileLimit() + 1 << largeFileLimit()
            << QStringLiteral("est trop grand (%1 Mo, au plus %2 Mo)")
                   .arg((largeFileLimit() >> 20) + 1)
                   .arg((largeFileLimit() + (1 << 20) - 1) >> 20);
    }
    void readers_refuseWhatTheyMustNotRead()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, size);
        QFETCH(qint64, limit);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Valmeq.trt"));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("file"))
            QVERIFY(QFile(path).open(QIODevice::WriteOnly) && QFile::resize(path, size));
        else
            QVERIFY(QFile::link(kind, path));
        QString message;
        try {
            readLines(path, limit);
        } catch (const VError &e) {
            message = e.message();
        }
        QCOMPARE(message, QStringLiteral("Le fichier ") + path + QLatin1Char(' ') + refusal);
    }

    // A name as long as the system allows is written: the temporary file's
    // name does not grow with it.
    void writeLines_longestName()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(251, QLatin1Char('n')) + QStringLiteral(".ptf"));
        writeLines(path, {QStringLiteral("A19990104")});
        writeLines(path, {QStringLiteral("A19990105")});
        QCOMPARE(read(path), QByteArray("A19990105\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // A file written in pieces of any size: its bytes, and the hash of what
    // it holds, the same as when it is read (in blocks of its own), with or
    // without the vector instructions; one byte other, another hash.
    void writeBytes_stampAsRead_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("piece");
        QTest::newRow("empty") << 0 << 1;
        QTest::newRow("less than a stripe") << 63 << 7;
        QTest::newRow("a byte at a time, past a kilobyte") << 2053 << 1;
        // Pieces across the stretches sent to the disk as they are written.
        QTest::newRow("pieces of 3 MB") << (20 << 20) + 5 << (3 << 20) + 7;
        QTest::newRow("one piece") << (20 << 20) + 5 << (20 << 20) + 5;
    }
    void writeBytes_stampAsRead()
    {
        QFETCH(int, size);
        QFETCH(int, piece);
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (char &c : bytes)
            c = char(random.generate());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Cours.vmq"));
        const FileStamp written = writeBytes(path, [&](const ByteSink &sink) {
            for (qsizetype at = 0; at < size; at += piece)
                if (!sink(bytes.constData() + at, std::min<qsizetype>(piece, size - at)))
                    return false;
            return true;
        });
        QCOMPARE(read(path), bytes);
        QCOMPARE(written.size, size);
        QCOMPARE(stampOf(path, largeFileLimit()).hash, written.hash);
        const bool vectors = ContentHash::vectors();
        ContentHash::vectors() = !vectors;
        const quint64 otherWay = stampOf(path, largeFileLimit()).hash;
        ContentHash::vectors() = vectors;
        QCOMPARE(otherWay, written.hash);
        // Another content of the same size: one byte other, or (lines of
        // one length sorted otherwise) two stretches of 64 bytes swapped.
        const auto hashOf = [&](const QByteArray &other) {
            writeBytes(path, [&](const ByteSink &sink) { return sink(other.constData(), size); });
            return stampOf(path, largeFileLimit()).hash;
        };
        if (size == 0) return;
        QByteArray other = bytes;
        other[size / 2] = char(other[size / 2] ^ 1);
        QVERIFY(hashOf(other) != written.hash);
        if (size < 128) return;
        QVERIFY(hashOf(bytes.mid(64, 64) + bytes.left(64) + bytes.mid(128)) != written.hash);
    }

    // What another program did to a file since it was read; the time it
    // leaves on the file is set here to the time the file had when read.
    void changedSince_data()
    {
        QTest::addColumn<QByteArray>("now");
        QTest::addColumn<bool>("sameTime");
        QTest::addColumn<bool>("wholeSecond"); // the read file's time
        QTest::addColumn<bool>("changed");
        QTest::newRow("untouched") << QByteArray("A1") << true << false << false;
        QTest::newRow("untouched, time in whole seconds")
            << QByteArray("A1") << true << true << false;
        QTest::newRow("same size, written later") << QByteArray("B2") << false << false << true;
        QTest::newRow("same size and time, whole seconds")
            << QByteArray("B2") << true << true << true;
        QTest::newRow("longer") << QByteArray("A12") << true << false << true;
    }
    void changedSince()
    {
        QFETCH(QByteArray, now);
        QFETCH(bool, sameTime);
        QFETCH(bool, wholeSecond);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Valmeq.ini"));
        write(path, "A1");
        const struct timespec read = {1700000000, wholeSecond ? 0 : 123456789};
        const struct timespec times[2] = {read, read};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
        FileStamp stamp;
        readLines(path, kSmallFileLimit, &stamp);
        write(path, now);
        const struct timespec later = {1700000001, 5};
        const struct timespec after[2] = {later, sameTime ? read : later};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), after, 0), 0);
        QTEST(::changedSince(path, stamp, kSmallFileLimit), "changed");
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
