#include "exchange/importing.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/parallel.h"
#include "base/textfile.h"
#include "quotes/entry.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

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
QStringView trimView(QStringView s)
{
    qsizetype from = 0, to = s.size();
    while (from < to && s.at(from).unicode() <= 0x20)
        ++from;
    while (to > from && s.at(to - 1).unicode() <= 0x20)
        --to;
    return s.mid(from, to - from);
}

QChar separatorOf(QStringView line)
{
    if (!line.contains(QLatin1Char('\t')) && line.contains(QLatin1Char(';')))
        return QLatin1Char(';');
    return QLatin1Char('\t');
}

// The five fields of a line, trimmed; of the line only the first 255
// characters after its first separator are read.
std::array<QStringView, 5> fiveFields(QStringView line)
{
    const QChar sep = separatorOf(line);
    std::array<QStringView, 5> out;
    const qsizetype first = line.indexOf(sep);
    out[0] = trimView(first < 0 ? line : line.left(first));
    if (first >= 0) {
        const QStringView rest = line.mid(first + 1, 255);
        qsizetype from = 0;
        for (size_t k = 1; k < 5 && from >= 0; ++k) {
            const qsizetype at = rest.indexOf(sep, from);
            out[k] = trimView(rest.mid(from, at < 0 ? -1 : at - from));
            from = at < 0 ? -1 : at + 1;
        }
    }
    return out;
}

// A number with a decimal comma: digits, at most one comma, a sign.
bool isNumber(QStringView text)
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

namespace
{

// Whether the bytes are UTF-8 holding more than ASCII; read in pieces, the
// first fault ends the reading.
bool utf8Text(QByteArrayView b)
{
    qsizetype high = 0;
    while (high < b.size() && static_cast<unsigned char>(b[high]) < 0x80)
        ++high;
    if (high == b.size()) return false;
    // Pieces cut after a line's end: a sequence never spans two of them.
    QStringDecoder probe(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    constexpr qsizetype kPiece = 1 << 20;
    for (qsizetype at = b.lastIndexOf('\n', high) + 1; at < b.size();) {
        qsizetype end = std::min(at + kPiece, b.size());
        if (end < b.size()) {
            const qsizetype lineEnd = b.indexOf('\n', end);
            end = lineEnd < 0 ? b.size() : lineEnd + 1;
        }
        const QString decoded = probe.decode(b.sliced(at, end - at)); // for its faults only
        if (probe.hasError()) return false;
        at = end;
    }
    return true;
}

} // namespace

QStringView lineText(const QuoteLines &lines, qsizetype i, QString &buffer)
{
    if (lines.isAside(i)) {
        buffer = lines.at(i);
        return buffer;
    }
    const QByteArrayView b = lines.bytes(i);
    if (!buffer.isDetached()) buffer = QString();
    buffer.resize(b.size());
    char16_t *d = reinterpret_cast<char16_t *>(buffer.data());
    for (qsizetype k = 0; k < b.size(); ++k)
        d[k] = windows1252Char(static_cast<unsigned char>(b[k]));
    return buffer;
}

QuoteLines decodeLines(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) return QuoteLines::split(bytes, 3, true);
    return QuoteLines::split(bytes, 0, utf8Text(bytes));
}

qint64 importLimit()
{
    // Its lines are held as text, four to six times its bytes.
    return largeFileLimit() / 8;
}

QuoteLines readFile(const QString &path)
{
    return decodeLines(readBytes(path, importLimit()));
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

bool readDate(QStringView text, const QDate &today, QDate *date)
{
    const QStringView t = trimView(text);
    int day = 0, month = 0, year = 0;
    // Up to four pieces: more than three tells the shape is another.
    const auto pieces = [t](QChar sep) {
        QVarLengthArray<QStringView, 4> out;
        for (const QStringView piece : t.tokenize(sep)) {
            out.append(piece);
            if (out.size() == 4) break;
        }
        return out;
    };
    const auto iso = pieces(QLatin1Char('-'));
    if (iso.size() == 3 && iso[0].trimmed().size() == 4) {
        if (!readPart(iso[0], 4, &year) || !readPart(iso[1], 2, &month) ||
            !readPart(iso[2], 2, &day))
            return false;
        const QDate d(year, month, day);
        if (!d.isValid()) return false;
        *date = d;
        return true;
    }
    const auto parts = pieces(QLatin1Char('/'));
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

namespace
{

// `out` becomes the date as shown, "dd/mm/yyyy", its room kept.
void setShownDate(QString &out, const QDate &date)
{
    out.resize(10);
    QChar *d = out.data();
    const auto put = [d](int at, int value, int digits) {
        for (int k = digits - 1; k >= 0; --k, value /= 10)
            d[at + k] = QLatin1Char(char('0' + value % 10));
    };
    put(0, date.day(), 2);
    put(3, date.month(), 2);
    put(6, date.year(), 4);
    d[2] = d[5] = QLatin1Char('/');
}

// Writes into `out` the line normalised ("dd/mm/yyyy", code, name, price,
// volume), its room kept from one line to the next; false, with the date
// field in `date`, for a line without a date.
bool reformateLine(QStringView line, Order order, const QDate &today, QString &out,
                   QStringView *dateField)
{
    const std::array<QStringView, 5> f = fiveFields(line);
    const QStringView dateText = f[order == Order::DateFirst ? 0 : 2];
    const QStringView code = f[order == Order::DateFirst ? 1 : 0];
    const QStringView name = f[order == Order::DateFirst ? 2 : 1];
    QDate date;
    if (!readDate(dateText, today, &date)) {
        *dateField = dateText;
        return false;
    }
    setShownDate(out, date);
    out += QLatin1Char('\t');
    appendNormalisedCode(out, code);
    out += QLatin1Char('\t');
    out += name;
    out += QLatin1Char('\t');
    // A price written with a decimal point and no comma gets a comma.
    const qsizetype priceAt = out.size();
    out += f[3];
    if (f[3].contains(QLatin1Char('.')) && !f[3].contains(QLatin1Char(',')))
        std::replace(out.begin() + priceAt, out.end(), QLatin1Char('.'), QLatin1Char(','));
    out += QLatin1Char('\t');
    out += f[4];
    return true;
}

} // namespace

QuoteLines reformated(const QuoteLines &lines, Order order, const QDate &today, int *headings)
{
    QuoteLines out;
    QString text, line;
    bool first = true;
    *headings = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView in = lineText(lines, i, text);
        QStringView dateField;
        if (trimView(in).isEmpty()) {
            out.appendBytes({});
        } else if (reformateLine(in, order, today, line, &dateField)) {
            out.append(line);
        } else if (first) {
            out.appendBytes({}); // a heading
            ++*headings;
        } else {
            throw VError::badDate(dateField.toString());
        }
        first = first && trimView(in).isEmpty();
    }
    return out;
}

int Reformate(QStringList &lines, Order order, const QDate &today)
{
    bool first = true;
    int headings = 0;
    QString normalised;
    for (QString &line : lines) {
        QStringView dateField;
        if (trimView(line).isEmpty()) {
            line.clear();
            continue;
        }
        if (reformateLine(line, order, today, normalised, &dateField)) {
            line = normalised;
        } else if (first) {
            line.clear();
            ++headings;
        } else {
            throw VError::badDate(dateField.toString());
        }
        first = false;
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

namespace
{

char16_t unit(QChar c)
{
    return c.unicode();
}
char16_t unit(char c)
{
    return static_cast<unsigned char>(c);
}

// The stored date "yyyymmdd" of a line that begins "dd/mm/yyyy" and a tab,
// as a number; -1 for a line of another shape. Of its text or its bytes.
template <typename Text> qint32 shownDateNumber(Text line)
{
    if (line.size() < 11 || unit(line[2]) != u'/' || unit(line[5]) != u'/' ||
        unit(line[10]) != u'\t')
        return -1;
    qint32 n = 0;
    for (const int k : {6, 7, 8, 9, 3, 4, 0, 1}) {
        const char16_t c = unit(line[k]);
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

// Field `n` of a line (fields separated by tabs); empty when it has fewer.
QStringView fieldOf(QStringView line, int n)
{
    qsizetype from = 0;
    for (int k = 0; k < n; ++k) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), from);
        if (tab < 0) return {};
        from = tab + 1;
    }
    const qsizetype tab = line.indexOf(QLatin1Char('\t'), from);
    return line.mid(from, tab < 0 ? -1 : tab - from);
}

// True when every character but the tabs is one the quotation file holds as
// it is: printable ASCII and the letters of Latin-1. Other texts are checked
// character by character.
bool plainText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || (u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF)) continue;
        return false;
    }
    return true;
}

// Date and code ("yyyymmdd" and six digits, the usual key) as one number;
// -1 when the text of the key is of another shape.
qint64 keyNumber(QStringView date, QStringView code)
{
    if (date.size() != 8 || code.size() != 6) return -1;
    qint64 n = 0;
    for (const QStringView part : {date, code})
        for (const QChar c : part) {
            if (!isDigit(c)) return -1;
            n = n * 10 + (c.unicode() - u'0');
        }
    return n;
}

// The same from a stored line's bytes ("yyyymmdd", a byte, six digits).
qint64 keyNumber(QByteArrayView line)
{
    if (line.size() < 15) return -1;
    qint64 n = 0;
    for (qsizetype k = 0; k < 15; ++k) {
        if (k == 8) continue;
        const char c = line[k];
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

// The keys of the lines chosen so far, each with its state: a set open to
// numbers below 2^63, without a bucket per key.
class KeyTable
{
public:
    explicit KeyTable(size_t count)
    {
        size_t size = 16;
        while (size < 2 * count)
            size *= 2;
        m_keys.assign(size, kEmpty);
        m_states.assign(size, 0);
    }
    // The state of `key`; null when it is not in the table and `add` is false.
    quint8 *find(qint64 key, bool add)
    {
        const size_t mask = m_keys.size() - 1;
        for (size_t at = (quint64(key) * 0x9E3779B97F4A7C15ull) >> 20 & mask;;
             at = (at + 1) & mask) {
            if (m_keys[at] == key) return &m_states[at];
            if (m_keys[at] == kEmpty) {
                if (!add) return nullptr;
                m_keys[at] = key;
                return &m_states[at];
            }
        }
    }

private:
    static constexpr qint64 kEmpty = -1;
    std::vector<qint64> m_keys;
    std::vector<quint8> m_states;
};

} // namespace

namespace
{
// Below this, a file is read on one core: threads would cost more.
constexpr qsizetype kLinesAPart = 20000;
} // namespace

Selection select(const QuoteLines &normalised, const QString &after, bool allDays,
                 const QuoteLines &store, const QStringList &index)
{
    Selection out;
    out.after = after;
    // The beginnings of six characters of the index's entries.
    QSet<QStringView> known;
    known.reserve(index.size());
    for (const QString &entry : index)
        if (entry.size() >= 6) known.insert(QStringView(entry).left(6));

    // First the lines each on its own, in file order; then the store is read
    // once for the dates and codes of those left; then, in file order again,
    // a line whose date and code are in the store or came earlier is refused.
    // A key is a number for the usual shape, a text otherwise.
    struct Candidate {
        qsizetype at;
        qint64 key; // -1: the text in `textKeys`
        qsizetype textKey;
        quint8 *state = nullptr; // of a number key, once the keys are known
    };
    // Each part of the file is read on a core of its own.
    struct Part {
        Selection counts;
        std::vector<Candidate> candidates;
        QStringList textKeys;
        qint64 lowKey = std::numeric_limits<qint64>::max(), highKey = -1;
    };
    const auto readPart = [&](Part &part, qsizetype begin, qsizetype end) {
        Selection &out = part.counts;
        std::vector<Candidate> &candidates = part.candidates;
        QStringList &textKeys = part.textKeys;
        qint64 &lowKey = part.lowKey, &highKey = part.highKey;
        // The last checks of a line (its price, its volume, text the file can
        // hold), then its key among those to look for.
        const auto consider = [&](qsizetype at, QStringView date, QStringView code,
                                  QStringView price, QStringView volume, bool holdable) {
            if (!isNumber(price) || (!volume.isEmpty() && !isNumber(volume)) || !holdable) {
                ++out.refused;
                if (out.unreadable++ == 0) out.firstUnreadable = int(at + 1);
                return;
            }
            Candidate c{at, keyNumber(date, code), -1, nullptr};
            if (c.key < 0) {
                c.textKey = textKeys.size();
                textKeys.append(date.toString() + code.toString());
            } else {
                lowKey = std::min(lowKey, c.key);
                highKey = std::max(highKey, c.key);
            }
            candidates.push_back(c);
        };
        char16_t dateText[8];
        QString text; // each line decoded here in turn
        for (qsizetype at = begin; at < end; ++at) {
            if (normalised.length(at) == 0) continue;
            const QStringView line = lineText(normalised, at, text);
            const qint32 shown = shownDateNumber(line);
            if (shown >= 0) {
                // The usual shape: read in place.
                if (!allDays) {
                    const QDate d(shown / 10000, shown / 100 % 100, shown % 100);
                    if (d.isValid() && d.dayOfWeek() != Qt::Friday) {
                        ++out.otherDays;
                        continue;
                    }
                }
                for (int k = 0, v = shown; k < 8; ++k, v /= 10)
                    dateText[7 - k] = char16_t(u'0' + v % 10);
                const QStringView date(dateText, 8);
                if (date.compare(after) <= 0) {
                    ++out.before;
                    continue;
                }
                const QStringView code = QStringView(line).mid(11, 6);
                if (!known.contains(code)) {
                    ++out.unknown;
                    continue;
                }
                const QStringView rest = QStringView(line).mid(10);
                const QStringView volume = fieldOf(rest, 4);
                bool holdable = plainText(rest);
                if (!holdable) {
                    const QString stored = date.toString() + rest.toString();
                    const QStringList f = stored.split(QLatin1Char('\t'));
                    holdable = std::all_of(f.cbegin(), f.cend(), [](const QString &field) {
                        return entry::unstorable(field).isEmpty();
                    });
                }
                consider(at, date, code, fieldOf(rest, 3), volume, holdable);
                continue;
            }
            if (!Vendredi(line.toString(), allDays)) {
                ++out.otherDays;
                continue;
            }
            const QString date = shownToStored(line.left(10).toString());
            if (date.compare(after) <= 0) {
                ++out.before;
                continue;
            }
            const QString stored = date + line.mid(line.indexOf(QLatin1Char('\t'))).toString();
            const QString code = stored.mid(9, 6);
            if (!known.contains(QStringView(code))) {
                ++out.unknown;
                continue;
            }
            const QStringList f = stored.split(QLatin1Char('\t'));
            const QString volume = f.value(4);
            // A name the quotation file cannot hold (a character Windows-1252
            // lacks, from a UTF-8 file, or a control character) would be written
            // changed: the line is refused like one of a price that does not read.
            const bool holdable = std::all_of(f.cbegin(), f.cend(), [](const QString &field) {
                return entry::unstorable(field).isEmpty();
            });
            consider(at, date, code, f.value(3), volume, holdable);
        }
    };
    std::vector<Part> parts(size_t(parallel::parts(normalised.size(), kLinesAPart)));
    parallel::forParts(normalised.size(), kLinesAPart, [&](int p, qsizetype begin, qsizetype end) {
        readPart(parts[size_t(p)], begin, end);
    });
    // The parts put together in file order.
    std::vector<Candidate> candidates;
    QStringList textKeys;
    qint64 lowKey = std::numeric_limits<qint64>::max(), highKey = -1;
    size_t total = 0;
    for (const Part &part : parts)
        total += part.candidates.size();
    candidates.reserve(total);
    for (Part &part : parts) {
        const Selection &c = part.counts;
        out.refused += c.refused;
        out.before += c.before;
        out.unknown += c.unknown;
        out.otherDays += c.otherDays;
        if (out.unreadable == 0) out.firstUnreadable = c.firstUnreadable;
        out.unreadable += c.unreadable;
        lowKey = std::min(lowKey, part.lowKey);
        highKey = std::max(highKey, part.highKey);
        for (Candidate candidate : part.candidates) {
            if (candidate.key < 0) candidate.textKey += textKeys.size();
            candidates.push_back(candidate);
        }
        textKeys += part.textKeys;
    }
    if (candidates.empty()) return out;

    // The states of the keys: wanted by a line, in the store, taken.
    enum : quint8 { Wanted = 0, Stored = 1, Taken = 2 };
    KeyTable keys(candidates.size() - size_t(textKeys.size()));
    QHash<QString, quint8> otherKeys;
    for (Candidate &c : candidates) {
        if (c.key >= 0)
            c.state = keys.find(c.key, true);
        else
            otherKeys.insert(textKeys.at(c.textKey), Wanted);
    }
    QuoteLines::Buffer dateBuffer, codeBuffer;
    for (qsizetype i = 0; i < store.size(); ++i) {
        if (i + QuoteLines::kAhead < store.size()) store.prefetch(i + QuoteLines::kAhead);
        qint64 key = store.isAside(i) ? -1 : keyNumber(store.bytes(i));
        if (key < 0) {
            const QStringView date = store.mid(i, 0, 8, dateBuffer);
            const QStringView code = store.mid(i, 9, 6, codeBuffer);
            key = keyNumber(date, code);
            if (key < 0) {
                if (!otherKeys.isEmpty()) {
                    const auto it = otherKeys.find(date.toString() + code.toString());
                    if (it != otherKeys.end()) it.value() = Stored;
                }
                continue;
            }
        }
        if (key < lowKey || key > highKey) continue;
        if (quint8 *state = keys.find(key, false)) *state = Stored;
    }

    QString text, stored;
    QByteArray storedBytes;
    for (const Candidate &c : candidates) {
        quint8 &state = c.state ? *c.state : otherKeys[textKeys.at(c.textKey)];
        if (state != Wanted) {
            ++out.refused;
            ++out.present;
            continue;
        }
        state = Taken;
        // Stored as "yyyymmdd" and the rest of the line: of its bytes when it
        // has the usual shape.
        if (!normalised.isAside(c.at)) {
            const QByteArrayView b = normalised.bytes(c.at);
            if (const qint32 shown = shownDateNumber(b); shown >= 0) {
                storedBytes.resize(b.size() - 2);
                char *d = storedBytes.data();
                for (int k = 0, v = shown; k < 8; ++k, v /= 10)
                    d[7 - k] = char('0' + v % 10);
                std::copy(b.begin() + 10, b.end(), d + 8);
                out.lines.appendBytes(storedBytes);
                continue;
            }
        }
        const QStringView line = lineText(normalised, c.at, text);
        const qint32 shown = shownDateNumber(line);
        if (shown >= 0) {
            stored.resize(line.size() - 2);
            QChar *d = stored.data();
            for (int k = 0, v = shown; k < 8; ++k, v /= 10)
                d[7 - k] = QLatin1Char(char('0' + v % 10));
            std::copy(line.begin() + 10, line.end(), d + 8);
        } else {
            stored = shownToStored(line.left(10).toString()) +
                     line.mid(line.indexOf(QLatin1Char('\t'))).toString();
        }
        out.lines.append(stored);
    }
    return out;
}

namespace
{

// "12 déjà présentes" or "1 déjà présente".
QString counted(qint64 n, const char16_t *one, const char16_t *many)
{
    return grouped(n) + QLatin1Char(' ') + QString::fromUtf16(n < 2 ? one : many);
}

// Lower case without accents, quotes or a byte-order mark, blanks single.
QString headingKey(const QString &text)
{
    QString out;
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing || c == QChar(0xFEFF) || c == QLatin1Char('"') ||
            c == QLatin1Char('\'') || c == QLatin1Char('.'))
            continue;
        out.append(c.isSpace() ? QLatin1Char(' ') : c.toLower());
    }
    return out.simplified();
}

// The position in `keys` of the first of `names` found, in the order of `names`.
int findColumn(const QStringList &keys, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        const qsizetype at = keys.indexOf(QLatin1String(name));
        if (at >= 0) return int(at);
    }
    return -1;
}

// The three numbers of a date written with separators ("03/04/2008"), and
// whether the year stands first; false when the text is not of that shape.
bool dateParts(QStringView t, int n[3], int digits[3])
{
    int part = 0;
    QChar sep;
    n[0] = n[1] = n[2] = 0;
    digits[0] = digits[1] = digits[2] = 0;
    for (const QChar c : t) {
        if (isDigit(c)) {
            if (++digits[part] > 4) return false;
            n[part] = n[part] * 10 + (c.unicode() - '0');
        } else if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
            if (sep.isNull()) sep = c;
            if (c != sep || digits[part] == 0 || ++part > 2) return false;
        } else {
            return false;
        }
    }
    return part == 2 && digits[2] > 0;
}

// The date text without a time after it ("2008-04-03 00:00:00", "...T...").
QStringView dateOnly(QStringView text)
{
    QStringView t = text.trimmed();
    const qsizetype cut = t.indexOf(QLatin1Char(' '));
    if (cut > 0) t = t.left(cut);
    const qsizetype time = t.indexOf(QLatin1Char('T'));
    if (time > 0) t = t.left(time);
    return t;
}

} // namespace

QString grouped(qint64 n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QChar(0x00A0));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

QString summary(const Selection &s, bool ahead)
{
    const qsizetype n = s.lines.size();
    QString text = ahead ? counted(n, u"cotation à importer", u"cotations à importer")
                         : counted(n, u"cotation importée", u"cotations importées");
    QStringList why;
    if (s.before > 0) {
        // A line dated on the threshold day is refused too: "before the day after".
        const QDate day = storedToDate(s.after).addDays(1);
        why.append(grouped(s.before) + QStringLiteral(" avant le ") + toShown(day));
    }
    if (s.unknown > 0) why.append(counted(s.unknown, u"de code inconnu", u"de codes inconnus"));
    if (s.present > 0) why.append(counted(s.present, u"déjà présente", u"déjà présentes"));
    if (s.otherDays > 0)
        why.append(counted(s.otherDays, u"d'un autre jour que le vendredi",
                           u"d'autres jours que le vendredi"));
    if (s.unreadable > 0)
        why.append(s.unreadable == 1
                       ? QStringLiteral("1 illisible (ligne %1)").arg(grouped(s.firstUnreadable))
                       : grouped(s.unreadable) +
                             QStringLiteral(" illisibles (la première ligne %1)")
                                 .arg(grouped(s.firstUnreadable)));
    if (!why.isEmpty()) text += QStringLiteral(" ; refusées : ") + why.join(QStringLiteral(", "));
    return text;
}

qsizetype firstLine(const QuoteLines &lines)
{
    QString buffer;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!trimView(lineText(lines, i, buffer)).isEmpty()) return i;
    return -1;
}

std::optional<Columns> readHeading(const QString &line)
{
    Columns c;
    if (line.contains(QLatin1Char('\t')))
        c.separator = QLatin1Char('\t');
    else if (line.contains(QLatin1Char(';')))
        c.separator = QLatin1Char(';');
    else
        c.separator = QLatin1Char(',');
    QStringList keys = splitFields(line, c.separator);
    for (QString &k : keys)
        k = headingKey(k);
    c.date = findColumn(keys, {"date", "jour"});
    // "adj close" is not the close: only whole names count.
    c.price = findColumn(keys, {"close", "cloture", "dernier", "cours"});
    if (c.date < 0 || c.price < 0) return std::nullopt;
    c.code = findColumn(keys, {"code", "mnemo", "mnemonique", "symbole", "symbol", "ticker"});
    c.name = findColumn(keys, {"nom", "name", "libelle"});
    c.volume = findColumn(keys, {"volume", "vol"});
    return c;
}

QStringList splitFields(const QString &line, QChar separator)
{
    if (!line.contains(QLatin1Char('"'))) return line.split(separator);
    QStringList out;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c != QLatin1Char('"'))
                field.append(c);
            else if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"'))
                field.append(line.at(++i));
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == separator) {
            out.append(field);
            field.clear();
        } else {
            field.append(c);
        }
    }
    out.append(field);
    return out;
}

DayOrder dayOrder(const QuoteLines &lines, const Columns &columns)
{
    bool any = false, firstAbove = false, secondAbove = false;
    const qsizetype heading = firstLine(lines);
    QString buffer;
    for (qsizetype i = heading + 1; i < lines.size() && heading >= 0; ++i) {
        const QStringView line = lineText(lines, i, buffer);
        // The date field alone, without splitting the whole line.
        qsizetype from = 0;
        for (int k = 0; k < columns.date && from >= 0; ++k) {
            from = line.indexOf(columns.separator, from);
            if (from >= 0) ++from;
        }
        if (from < 0) continue;
        qsizetype to = line.indexOf(columns.separator, from);
        QStringView field = line.mid(from, to < 0 ? -1 : to - from);
        QString unquoted;
        if (field.contains(QLatin1Char('"'))) {
            unquoted = field.toString().remove(QLatin1Char('"'));
            field = unquoted;
        }
        int n[3], digits[3];
        if (!dateParts(dateOnly(field), n, digits) || digits[0] > 2) continue;
        any = true;
        firstAbove = firstAbove || n[0] > 12;
        secondAbove = secondAbove || n[1] > 12;
    }
    if (secondAbove && !firstAbove) return {false, true};
    return {true, !any || firstAbove};
}

bool readHeadedDate(QStringView text, bool dayFirst, const QDate &today, QDate *date)
{
    const QStringView t = dateOnly(text);
    int year = 0, month = 0, day = 0;
    int n[3], digits[3];
    if (t.size() == 8 && allDigits(t)) {
        year = t.left(4).toInt();
        month = t.mid(4, 2).toInt();
        day = t.mid(6, 2).toInt();
    } else if (dateParts(t, n, digits)) {
        if (digits[0] == 4) {
            year = n[0];
            month = n[1];
            day = n[2];
        } else if (digits[0] <= 2 && digits[1] <= 2 && (digits[2] == 4 || digits[2] == 2)) {
            day = dayFirst ? n[0] : n[1];
            month = dayFirst ? n[1] : n[0];
            if (digits[2] == 4) {
                year = n[2];
            } else {
                QDate d;
                const QString shown = QStringLiteral("%1/%2/%3")
                                          .arg(day)
                                          .arg(month)
                                          .arg(n[2], 2, 10, QLatin1Char('0'));
                if (!readDate(shown, today, &d)) return false;
                *date = d;
                return true;
            }
        } else {
            return false;
        }
    } else {
        return false;
    }
    const QDate d(year, month, day);
    if (year < 1 || !d.isValid()) return false;
    *date = d;
    return true;
}

bool decimalText(QStringView text, QString *out)
{
    // Blanks, no-break spaces and apostrophes group thousands: skipped.
    const auto skipped = [](QChar c) {
        return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) || c == QLatin1Char('\'');
    };
    int points = 0, commas = 0, kept = 0;
    qsizetype lastPoint = -1, lastComma = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (skipped(c)) continue;
        if (c == QLatin1Char('.')) {
            ++points;
            lastPoint = i;
        } else if (c == QLatin1Char(',')) {
            ++commas;
            lastComma = i;
        } else if (!isDigit(c) &&
                   !((c == QLatin1Char('-') || c == QLatin1Char('+')) && kept == 0)) {
            return false;
        }
        ++kept;
    }
    // The decimal mark is the last of two kinds, or one that stands once.
    qsizetype mark = -1;
    if (points > 0 && commas > 0)
        mark = std::max(lastPoint, lastComma);
    else if (points == 1)
        mark = lastPoint;
    else if (commas == 1)
        mark = lastComma;
    // Written over `out` in place: its room is kept from one call to the next.
    out->resize(kept);
    QChar *d = out->data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (skipped(c)) continue;
        if (i == mark)
            d[n++] = QLatin1Char(',');
        else if (c != QLatin1Char('.') && c != QLatin1Char(','))
            d[n++] = c;
        else if (i > mark && mark >= 0)
            return false; // a grouping mark after the decimal one
    }
    out->truncate(n);
    if (out->startsWith(QLatin1Char('+'))) out->remove(0, 1);
    return isNumber(*out);
}

QDate lastDateOf(const QuoteLines &store, const QString &code)
{
    QuoteLines::Buffer codeText, dateText;
    for (qsizetype i = store.size(); i-- > 0;)
        if (store.mid(i, 9, 6, codeText) == code)
            return storedToDate(store.mid(i, 0, 8, dateText).toString());
    return {};
}

Headed reformateHeaded(const QuoteLines &lines, const Columns &columns, bool dayFirst,
                       const Security &security, const QStringList &index, const QDate &today)
{
    Headed out;
    const qsizetype heading = firstLine(lines);
    // The names of the index by code, for a file with codes but no names.
    QHash<QStringView, QStringView> names;
    if (columns.code >= 0 && columns.name < 0)
        for (const QString &entry : index)
            if (entry.size() >= 6)
                names.insert(QStringView(entry).left(6), QStringView(entry).mid(6));
    // Each part of the file on a core of its own, its lines into blocks of its
    // own; the parts are then put together in order, their bytes shared.
    std::vector<Headed> parts(size_t(parallel::parts(lines.size(), kLinesAPart)));
    parallel::forParts(lines.size(), kLinesAPart, [&](int p, qsizetype begin, qsizetype end) {
        Headed &out = parts[size_t(p)];
        // Kept from line to line: a line costs no allocation.
        QString text, stored, price, volume, codeText;
        QVarLengthArray<QStringView, 16> f;
        QStringList quoted;
        const auto field = [&f](int column) {
            return column >= 0 && column < f.size() ? trimView(f[column]) : QStringView();
        };
        const QChar tab(QLatin1Char('\t'));
        for (qsizetype i = begin; i < end; ++i) {
            const QStringView line = lineText(lines, i, text);
            if (i <= heading || trimView(line).isEmpty()) {
                out.lines.appendBytes({});
                continue;
            }
            f.clear();
            if (line.contains(QLatin1Char('"'))) {
                quoted = splitFields(line.toString(), columns.separator);
                for (const QString &q : std::as_const(quoted))
                    f.append(q);
            } else {
                for (const QStringView piece : line.tokenize(columns.separator))
                    f.append(piece);
            }
            QDate date;
            if (!readHeadedDate(field(columns.date), dayFirst, today, &date)) {
                out.lines.appendBytes({});
                out.unreadable.append(int(i + 1));
                continue;
            }
            QStringView code = security.code, name = security.name;
            if (columns.code >= 0) {
                codeText.clear();
                appendNormalisedCode(codeText, field(columns.code));
                code = codeText;
                name = columns.name >= 0 ? field(columns.name) : names.value(code);
            }
            // A price that does not read stays as it stands: the choice refuses it.
            const QStringView priceField = field(columns.price);
            const QStringView shownPrice =
                decimalText(priceField, &price) ? QStringView(price) : priceField;
            const QStringView volumeField = field(columns.volume);
            const QStringView shownVolume =
                decimalText(volumeField, &volume) ? QStringView(volume) : volumeField;
            // A tab inside a field (between quotes) would split the stored line.
            if (code.contains(tab) || name.contains(tab) || shownPrice.contains(tab) ||
                shownVolume.contains(tab)) {
                out.lines.appendBytes({});
                out.unreadable.append(int(i + 1));
                continue;
            }
            setShownDate(stored, date);
            stored += tab;
            stored += code;
            stored += tab;
            stored += name;
            stored += tab;
            stored += shownPrice;
            stored += tab;
            stored += shownVolume;
            out.lines.append(stored);
        }
    });
    for (const Headed &part : parts) {
        out.lines.append(part.lines);
        out.unreadable += part.unreadable;
    }
    return out;
}

} // namespace importing
