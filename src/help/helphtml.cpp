#include "help/helphtml.h"

#include <QList>

#include <algorithm>
#include <initializer_list>

namespace helphtml
{

namespace
{

enum class Kind { Inline, Block, Pre, List, Item, Table, Row, Cell, Break };

struct Tag {
    const char *name;
    Kind kind;
};

const Tag kTags[] = {
    {"a", Kind::Inline},  {"b", Kind::Inline},      {"i", Kind::Inline},    {"u", Kind::Inline},
    {"em", Kind::Inline}, {"strong", Kind::Inline}, {"code", Kind::Inline}, {"p", Kind::Block},
    {"h1", Kind::Block},  {"h2", Kind::Block},      {"h3", Kind::Block},    {"h4", Kind::Block},
    {"h5", Kind::Block},  {"h6", Kind::Block},      {"pre", Kind::Pre},     {"ul", Kind::List},
    {"ol", Kind::List},   {"li", Kind::Item},       {"table", Kind::Table}, {"tr", Kind::Row},
    {"td", Kind::Cell},   {"th", Kind::Cell},       {"br", Kind::Break},
};

const Tag *findTag(QStringView name)
{
    for (const Tag &t : kTags)
        if (QLatin1String(t.name).compare(name, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

bool isOneOf(QStringView name, std::initializer_list<QStringView> names)
{
    for (QStringView n : names)
        if (name.compare(n, Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

bool isNameChar(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// A link to a page of the help: "#" and the page's id.
bool isPageLink(const QString &href)
{
    if (href.size() < 2 || href.size() > 257 || href.front() != QLatin1Char('#')) return false;
    for (qsizetype i = 1; i < href.size(); ++i) {
        const QChar c = href.at(i);
        if (!c.isLetterOrNumber() && !QStringLiteral("-_.:").contains(c)) return false;
    }
    return true;
}

const QChar kZeroWidthSpace(0x200B);

class Filter
{
public:
    explicit Filter(const QString &in) : m_in(in) {}

    QString run()
    {
        while (m_pos < m_in.size() && !m_cut) {
            if (m_pos >= kMaxHtml) {
                m_cut = true;
                break;
            }
            const QChar c = m_in.at(m_pos);
            if (c == QLatin1Char('<') && markup()) continue;
            if (c == QLatin1Char('&')) {
                entity();
                continue;
            }
            ++m_pos;
            text(c);
        }
        closeFrom(0);
        if (m_cut) m_out += QStringLiteral("<p>") + truncatedNote() + QStringLiteral("</p>");
        return m_out;
    }

private:
    // A tag, a comment or a declaration at m_pos, read and acted on; false
    // for a '<' that opens none of them (it is then text).
    bool markup()
    {
        const qsizetype n = m_in.size();
        const QChar next = m_pos + 1 < n ? m_in.at(m_pos + 1) : QChar();
        if (QStringView(m_in).mid(m_pos).startsWith(u"<!--")) {
            const qsizetype end = m_in.indexOf(QStringLiteral("-->"), m_pos + 4);
            m_pos = end < 0 ? n : end + 3;
            return true;
        }
        if (next == QLatin1Char('!') || next == QLatin1Char('?')) {
            skipPast(QLatin1Char('>'));
            return true;
        }
        const bool closing = next == QLatin1Char('/');
        qsizetype i = m_pos + (closing ? 2 : 1);
        if (i >= n || !isNameChar(m_in.at(i)) || m_in.at(i).isDigit()) return false;
        const qsizetype nameStart = i;
        while (i < n && isNameChar(m_in.at(i)))
            ++i;
        const QStringView name = QStringView(m_in).mid(nameStart, i - nameStart);
        QString href;
        if (!attributes(&i, &href)) {
            m_pos = n; // a tag never ended: the rest is not shown
            return true;
        }
        m_pos = i;
        if (closing) {
            close(name);
        } else if (isOneOf(name, {u"script", u"style", u"title"})) {
            const qsizetype end =
                m_in.indexOf(QStringLiteral("</") + name.toString(), m_pos, Qt::CaseInsensitive);
            if (end < 0)
                m_pos = n;
            else {
                m_pos = end;
                skipPast(QLatin1Char('>'));
            }
        } else if (const Tag *tag = findTag(name)) {
            open(*tag, isOneOf(name, {u"a"}) && isPageLink(href) ? href : QString());
        }
        return true;
    }

    // Reads the attributes from *i to the tag's '>', keeping "href"; false
    // when the text ends first.
    bool attributes(qsizetype *i, QString *href)
    {
        const qsizetype n = m_in.size();
        qsizetype p = *i;
        while (p < n) {
            const QChar c = m_in.at(p);
            if (c == QLatin1Char('>')) {
                *i = p + 1;
                return true;
            }
            if (isSpace(c) || c == QLatin1Char('/')) {
                ++p;
                continue;
            }
            const qsizetype nameStart = p;
            while (p < n && !isSpace(m_in.at(p)) && m_in.at(p) != QLatin1Char('>') &&
                   m_in.at(p) != QLatin1Char('=') && m_in.at(p) != QLatin1Char('/'))
                ++p;
            if (p == nameStart) ++p; // a '=' without a name
            const QString name = m_in.mid(nameStart, p - nameStart);
            while (p < n && isSpace(m_in.at(p)))
                ++p;
            if (p >= n || m_in.at(p) != QLatin1Char('=')) continue;
            ++p;
            while (p < n && isSpace(m_in.at(p)))
                ++p;
            if (p >= n) break;
            qsizetype start = p, end = p;
            const QChar quote = m_in.at(p);
            if (quote == QLatin1Char('"') || quote == QLatin1Char('\'')) {
                start = p + 1;
                end = m_in.indexOf(quote, start);
                if (end < 0) return false;
                p = end + 1;
            } else {
                while (p < n && !isSpace(m_in.at(p)) && m_in.at(p) != QLatin1Char('>'))
                    ++p;
                end = p;
            }
            if (name.compare(QLatin1String("href"), Qt::CaseInsensitive) == 0)
                *href = m_in.mid(start, end - start).trimmed();
        }
        return false;
    }

    void skipPast(QChar c)
    {
        const qsizetype end = m_in.indexOf(c, m_pos);
        m_pos = end < 0 ? m_in.size() : end + 1;
    }

    // "&name;" passes as it is; "&#n;" and "&#xh;" become their character;
    // any other '&' is one.
    void entity()
    {
        const qsizetype n = m_in.size();
        qsizetype i = m_pos + 1;
        if (i < n && m_in.at(i) == QLatin1Char('#')) {
            const bool hex = i + 1 < n && (m_in.at(i + 1) == QLatin1Char('x') ||
                                           m_in.at(i + 1) == QLatin1Char('X'));
            i += hex ? 2 : 1;
            const qsizetype start = i;
            while (i < n && i - start < 8 && isNameChar(m_in.at(i)))
                ++i;
            bool ok = false;
            const uint code = m_in.mid(start, i - start).toUInt(&ok, hex ? 16 : 10);
            if (ok && i < n && m_in.at(i) == QLatin1Char(';')) {
                m_pos = i + 1;
                const bool valid = code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
                const char32_t ch = valid ? char32_t(code) : char32_t(0xFFFD);
                for (const QChar c : QChar::fromUcs4(ch))
                    text(c);
                return;
            }
        } else {
            while (i < n && i - m_pos <= 32 && isNameChar(m_in.at(i)))
                ++i;
            if (i > m_pos + 1 && i < n && m_in.at(i) == QLatin1Char(';') &&
                !m_in.at(m_pos + 1).isDigit()) {
                if (!countText()) return;
                m_out += QStringView(m_in).mid(m_pos, i + 1 - m_pos);
                m_pos = i + 1;
                return;
            }
        }
        ++m_pos;
        text(QLatin1Char('&'));
    }

    // One more character of text, and of the current word unless it is a
    // space; false once the page is cut.
    bool countText(bool inWord = true)
    {
        if (m_text >= kMaxText) {
            m_cut = true;
            return false;
        }
        ++m_text;
        if (inWord && ++m_word > kMaxWord) {
            m_out += kZeroWidthSpace;
            m_word = 1;
        }
        return true;
    }

    void text(QChar c)
    {
        if (isSpace(c) || c == kZeroWidthSpace) {
            m_word = 0;
            if (!countText(false)) return;
            // Each line of a pre is a block of its own.
            const bool newLine = c == QLatin1Char('\n') || c == QLatin1Char('\r');
            if (newLine && inside(Kind::Pre) && !countBlock()) return;
        } else if (c.isLowSurrogate()) {
            // The second half of a pair never goes apart from the first.
        } else if (!countText()) {
            return;
        }
        if (c == QLatin1Char('<'))
            m_out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            m_out += QStringLiteral("&gt;");
        else if (c == QLatin1Char('&'))
            m_out += QStringLiteral("&amp;");
        else
            m_out += c;
    }

    bool countBlock()
    {
        if (++m_blocks > kMaxBlocks) m_cut = true;
        return !m_cut;
    }

    bool inside(Kind kind) const
    {
        for (const Tag *t : m_open)
            if (t->kind == kind) return true;
        return false;
    }

    // The innermost open element of one of the kinds, searched down to the
    // first of `stops`; -1 when none.
    qsizetype innermost(std::initializer_list<Kind> kinds, std::initializer_list<Kind> stops = {},
                        const Tag *tag = nullptr) const
    {
        for (qsizetype i = m_open.size() - 1; i >= 0; --i) {
            const Kind k = m_open.at(i)->kind;
            if (std::find(kinds.begin(), kinds.end(), k) != kinds.end() &&
                (!tag || tag == m_open.at(i)))
                return i;
            if (std::find(stops.begin(), stops.end(), k) != stops.end()) return -1;
        }
        return -1;
    }

    void closeFrom(qsizetype index)
    {
        while (m_open.size() > index) {
            m_out +=
                QStringLiteral("</") + QLatin1String(m_open.takeLast()->name) + QLatin1Char('>');
        }
    }

    void emitOpen(const Tag &tag, const QString &href = {})
    {
        m_out += QLatin1Char('<') + QLatin1String(tag.name);
        if (!href.isEmpty()) m_out += QStringLiteral(" href=\"") + href.toHtmlEscaped() + u'"';
        m_out += QLatin1Char('>');
        if (tag.kind != Kind::Break) m_open.append(&tag);
    }

    // Cell and row tags of a flattened table leave a space between their
    // texts.
    void flattened() { text(QLatin1Char(' ')); }

    void open(const Tag &tag, const QString &href)
    {
        const Kind kind = tag.kind;
        if (m_flat > 0 && (kind == Kind::Row || kind == Kind::Cell)) return flattened();
        if (kind == Kind::Table && inside(Kind::Table)) {
            ++m_flat;
            return flattened();
        }
        // A paragraph or heading ends where a block begins; a link where
        // another begins; an item, row or cell where the next one does.
        static const auto containers = {Kind::Item, Kind::Cell, Kind::Table, Kind::Row, Kind::List};
        qsizetype end = -1;
        if (kind == Kind::Block || kind == Kind::Pre || kind == Kind::List || kind == Kind::Table)
            end = innermost({Kind::Block, Kind::Pre}, containers);
        else if (kind == Kind::Inline && QLatin1String(tag.name) == u"a")
            end = innermost({Kind::Inline}, containers, &tag);
        else if (kind == Kind::Item)
            end = innermost({Kind::Item}, {Kind::List, Kind::Cell, Kind::Table});
        else if (kind == Kind::Row)
            end = innermost({Kind::Row}, {Kind::Table});
        else if (kind == Kind::Cell)
            end = innermost({Kind::Cell}, {Kind::Row, Kind::Table});
        if (end >= 0) closeFrom(end);

        // Items only in a list, rows only in a table, cells only in a row
        // (one is opened for a cell right in the table).
        if (kind == Kind::Item && innermost({Kind::List}, {Kind::Cell, Kind::Table}) < 0) return;
        if (kind == Kind::Row && innermost({Kind::Table}, {Kind::Cell}) != m_open.size() - 1)
            return;
        if (kind == Kind::Cell) {
            if (innermost({Kind::Row, Kind::Table}) != m_open.size() - 1) return;
            if (m_open.last()->kind == Kind::Table) {
                if (m_open.size() >= kMaxDepth || !countBlock()) return;
                emitOpen(*findTag(QStringLiteral("tr")));
            }
        }
        if (kind != Kind::Break && m_open.size() >= kMaxDepth) return;
        if ((kind == Kind::Cell && ++m_cells > kMaxCells) || ++m_elements > kMaxElements) {
            m_cut = true;
            return;
        }
        if ((kind == Kind::Block || kind == Kind::Pre || kind == Kind::Item || kind == Kind::Row ||
             kind == Kind::Break) &&
            !countBlock())
            return;
        if (kind != Kind::Inline) m_word = 0;
        emitOpen(tag, href);
    }

    void close(QStringView name)
    {
        const Tag *tag = findTag(name);
        if (!tag || tag->kind == Kind::Break) return;
        if (m_flat > 0 && (tag->kind == Kind::Row || tag->kind == Kind::Cell)) return flattened();
        if (m_flat > 0 && tag->kind == Kind::Table) {
            --m_flat;
            return flattened();
        }
        qsizetype at = -1;
        if (tag->kind == Kind::Table)
            at = innermost({Kind::Table});
        else if (tag->kind == Kind::Row || tag->kind == Kind::Cell)
            at = innermost({tag->kind}, {Kind::Table}, tag);
        else if (tag->kind == Kind::Item || tag->kind == Kind::List)
            at = innermost({tag->kind}, {Kind::Cell, Kind::Table}, tag);
        else
            at = innermost({tag->kind}, {Kind::Item, Kind::Cell, Kind::Table}, tag);
        if (at >= 0) closeFrom(at);
    }

    const QString &m_in;
    qsizetype m_pos = 0;
    QString m_out;
    QList<const Tag *> m_open;
    int m_flat = 0; // tables open inside a table
    qsizetype m_text = 0;
    int m_word = 0;
    int m_blocks = 0;
    int m_cells = 0;
    int m_elements = 0;
    bool m_cut = false;
};

} // namespace

QString filter(const QString &html)
{
    return Filter(html).run();
}

QString truncatedNote()
{
    return QStringLiteral("(page tronquée)");
}

} // namespace helphtml
