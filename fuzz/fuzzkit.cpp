#include "fuzzkit.h"

#include "base/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzkit
{

namespace
{
void noMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

QTemporaryDir &tempDir()
{
    static QTemporaryDir d;
    if (!d.isValid()) fail("no temporary directory");
    return d;
}
} // namespace

void quiet()
{
    qInstallMessageHandler(noMessages);
}

QString dir()
{
    return tempDir().path();
}

void write(const QString &name, const QByteArray &bytes)
{
    QFile f(tempDir().filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail("cannot write the input file", f.fileName());
}

void remove(const QString &name)
{
    QFile::remove(tempDir().filePath(name));
}

TextMeasure measure()
{
    return {[](const QString &s) { return int(7 * s.size()); }, [](const QString &) { return 13; }};
}

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "==fuzz== rule broken: %s\n%s\n", what, detail.toLocal8Bit().constData());
    std::abort();
}

QStringList sampleStore()
{
    // Three securities, one with a name of accented letters, over a week,
    // and a line of a code that is not in the index.
    const QByteArray text = "20240102\t120090\tAIR LIQUIDE\t150,20\t12000\r\n"
                            "20240102\t012000\tSOCI\xc9T\xc9 G\xc9N\xc9RALE\t23,40\t80500\r\n"
                            "20240102\t000123\tBOUYGUES\t33,10\r\n"
                            "20240103\t120090\tAIR LIQUIDE\t151,00\t9000\r\n"
                            "20240103\t012000\tSOCI\xc9T\xc9 G\xc9N\xc9RALE\t23,10\t60400\r\n"
                            "20240104\t120090\tAIR LIQUIDE\t149,85\t10100\r\n"
                            "20240105\t012000\tSOCI\xc9T\xc9 G\xc9N\xc9RALE\t24,00\t70000\r\n"
                            "20240105\t000123\tBOUYGUES\t34,00\t2100\r\n"
                            "20240105\t120090\tAIR LIQUIDE\t152,40\t11000\r\n";
    return splitTextLines(decodeWindows1252(text));
}

} // namespace fuzzkit
