#include "exchange/importing.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/textfile.h"
#include "quotes/entry.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace importing
{

namespace
{

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(QStringView s)
{
    if (s.isEmpty()) return false;
    for (const QChar c : s)
        if (!isDigit(c)) return false;
    return true;
}

// Blanks and control characters off both ends.
QString trimField(const QString &s)
{
    qsizetype from = 0, to = s.size();
    while (from < to && s.at(from).unicode() <= 0x20)
        ++from;
    while (to > from && s.at(to - 1).unicode() <= 0x20)
        --to;
    return s.mid(from, to - from);
}

QChar separatorOf(const QString &line)
{
    if (!line.contains(QLatin1Char('\t')) && line.contains(QLatin1Char(';')))
        return QLatin1Char(';');
    return QLatin1Char('\t');
}

// The five fields of a line; of the line only the first 255 characters after
// its first separator are read.
QStringList fiveFields(const QString &line)
{
    const QChar sep = separatorOf(line);
    QStringList out;
    const qsizetype first = line.indexOf(sep);
    if (first < 0) {
        out.append(line);
    } else {
        out.append(line.left(first));
        const QString rest = line.mid(first + 1, 255);
        qsizetype from = 0;
        while (out.size() < 5) {
            const qsizetype at = rest.indexOf(sep, from);
            if (at < 0) {
                out.append(rest.mid(from));
                break;
            }
            out.append(rest.mid(from, at - from));
            from = at + 1;
        }
    }
    while (out.size() < 5)
        out.append(QString());
    return out;
}

// A number with a decimal comma: digits, at most one comma, a sign.
bool isNumber(const QString &text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) ++i;
    bool digits = false, comma = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i]))
            digits = true;
        else if (text[i] == QLatin1Char(',') && !comma)
            comma = true;
        else
            return false;
    }
    return digits;
}

bool readPart(QStringView part, int maxDigits, int *value)
{
    const QStringView p = part.trimmed();
    if (!allDigits(p) || p.size() > maxDigits) return false;
    *value = p.toInt();
    return true;
}

} // namespace

QStringList decodeLines(const QByteArray &bytes)
{
    QByteArray b = bytes;
    bool utf8 = false;
    if (b.startsWith("\xEF\xBB\xBF")) {
        b.remove(0, 3);
        utf8 = true;
    } else {
        bool ascii = true;
        for (const char c : b)
            if (static_cast<unsigned char>(c) >= 0x80) {
                ascii = false;
                break;
            }
        if (!ascii) {
            QStringDecoder probe(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString text = probe.decode(b);
            if (!probe.hasError()) return splitTextLines(text);
        }
    }
    if (utf8) return splitTextLines(QString::fromUtf8(b));
    return splitTextLines(decodeWindows1252(b));
}

QStringList readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw VError::cannotOpen(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw VError::cannotOpen(path);
    return decodeLines(bytes);
}

QStringList rawFields(const QString &line)
{
    // Five fields found one after the other, each cut: a line of millions
    // of separators or one huge field costs no more than its first fields.
    const QChar sep = separatorOf(line);
    QStringList out;
    qsizetype from = 0;
    while (out.size() < 5) {
        const qsizetype end = line.indexOf(sep, from);
        const qsizetype size = (end < 0 ? line.size() : end) - from;
        out.append(line.mid(from, std::min<qsizetype>(size, kPreviewField)));
        if (end < 0) break;
        from = end + 1;
    }
    return out;
}

bool readDate(const QString &text, const QDate &today, QDate *date)
{
    const QString t = trimField(text);
    int day = 0, month = 0, year = 0;
    const QStringList iso = t.split(QLatin1Char('-'));
    if (iso.size() == 3 && iso[0].trimmed().size() == 4) {
        if (!readPart(iso[0], 4, &year) || !readPart(iso[1], 2, &month) ||
            !readPart(iso[2], 2, &day))
            return false;
        const QDate d(year, month, day);
        if (!d.isValid()) return false;
        *date = d;
        return true;
    }
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() != 2 && parts.size() != 3) return false;
    if (!readPart(parts[0], 2, &day) || !readPart(parts[1], 2, &month)) return false;
    if (parts.size() == 2) {
        year = today.year();
    } else {
        if (!readPart(parts[2], 4, &year)) return false;
        if (parts[2].trimmed().size() <= 2) {
            year += today.year() / 100 * 100;
            // "15/01/99" read in 2025 is 1999, not 2099.
            const QDate d(year, month, day);
            if (d.isValid() && d > today) year -= 100;
        }
    }
    if (year < 1) return false;
    const QDate d(year, month, day);
    if (!d.isValid()) return false;
    *date = d;
    return true;
}

QString threshold(const QString &field)
{
    bool anyDigit = false;
    for (const QChar c : field)
        if (isDigit(c)) anyDigit = true;
    if (!anyDigit) return QString();
    // The mask shows "dd/mm/yyyy": each part whole, a real day.
    const QStringList parts = field.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts[0].size() != 2 || parts[1].size() != 2 || parts[2].size() != 4 ||
        !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]))
        throw VError::badDate(field);
    const QDate d(parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
    if (!d.isValid()) throw VError::badDate(field);
    return toStored(d);
}

int Reformate(QStringList &lines, Order order, const QDate &today)
{
    const int dateAt = order == Order::DateFirst ? 0 : 2;
    const int codeAt = order == Order::DateFirst ? 1 : 0;
    const int nameAt = order == Order::DateFirst ? 2 : 1;
    bool first = true;
    int headings = 0;
    for (QString &line : lines) {
        if (trimField(line).isEmpty()) {
            line.clear();
            continue;
        }
        QStringList f = fiveFields(line);
        for (QString &field : f)
            field = trimField(field);
        QDate date;
        if (!readDate(f[dateAt], today, &date)) {
            if (first) {
                line.clear();
                first = false;
                ++headings;
                continue;
            }
            throw VError::badDate(f[dateAt]);
        }
        first = false;
        QString price = f[3];
        if (price.contains(QLatin1Char('.')) && !price.contains(QLatin1Char(',')))
            price.replace(QLatin1Char('.'), QLatin1Char(','));
        line = toShown(date) + QLatin1Char('\t') + normaliseCode(f[codeAt]) + QLatin1Char('\t') +
               f[nameAt] + QLatin1Char('\t') + price + QLatin1Char('\t') + f[4];
    }
    return headings;
}

bool Vendredi(const QString &line, bool allDays)
{
    if (allDays) return true;
    QDate d;
    if (!tryReadShownDate(line.left(10), &d)) return true;
    return d.dayOfWeek() == Qt::Friday;
}

Selection select(const QStringList &normalised, const QString &after, bool allDays,
                 const QuoteLines &store, const QStringList &index)
{
    Selection out;
    // The beginnings of six characters of the index's entries.
    QSet<QStringView> known;
    known.reserve(index.size());
    for (const QString &entry : index)
        if (entry.size() >= 6) known.insert(QStringView(entry).left(6));
    // Date and code of the stored quotations that could meet an imported one.
    QSet<QString> present;
    QuoteLines::Buffer dateText, codeText;
    for (qsizetype i = 0; i < store.size(); ++i) {
        const QStringView date = store.mid(i, 0, 8, dateText);
        if (date.compare(after) <= 0) continue;
        QString key = date.toString();
        key.append(store.mid(i, 9, 6, codeText));
        present.insert(key);
    }

    for (const QString &line : normalised) {
        if (line.isEmpty()) continue;
        if (!Vendredi(line, allDays)) continue;
        const QString date = shownToStored(line.left(10));
        if (date.compare(after) <= 0) continue;
        const QString stored = date + line.mid(line.indexOf(QLatin1Char('\t')));
        const QString code = stored.mid(9, 6);
        if (!known.contains(QStringView(code))) continue;
        const QStringList f = stored.split(QLatin1Char('\t'));
        const QString volume = f.value(4);
        QString key = date + code;
        // A name the quotation file cannot hold (a character Windows-1252
        // lacks, from a UTF-8 file, or a control character) would be written
        // changed: the line is refused like one of a price that does not read.
        const bool holdable = std::all_of(f.cbegin(), f.cend(), [](const QString &field) {
            return entry::unstorable(field).isEmpty();
        });
        if (!isNumber(f.value(3)) || (!volume.isEmpty() && !isNumber(volume)) || !holdable ||
            present.contains(key)) {
            ++out.refused;
            continue;
        }
        present.insert(std::move(key));
        out.lines.append(stored);
    }
    return out;
}

} // namespace importing
