#include "quotes/quotelines.h"

#include "base/errors.h"
#include "base/largepages.h"
#include "base/parallel.h"
#include "base/textfile.h"
#include "base/varint.h"

#include <QDebug>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace
{
// Past the blocks a reference can name.
VError tooManyBlocks()
{
    return VError(QStringLiteral("Mémoire insuffisante : trop de blocs de lignes"));
}

} // namespace

QuoteLines::QuoteLines(const QStringList &lines)
{
    m_refs.reserve(lines.size());
    for (const QString &line : lines)
        append(line);
}

QString QuoteLines::at(qsizetype i) const
{
    const Ref &r = m_refs.at(i);
    if (r.block == kAside) return m_aside[r.offset];
    const QByteArrayView b = bytes(i);
    return decodeWindows1252(b.data(), b.size());
}

bool QuoteLines::field(qsizetype i, int n, qsizetype *from, qsizetype *to) const
{
    // A byte is a character: the same positions for both.
    const auto find = [&](auto text, auto tab) {
        const qsizetype size = text.size();
        qsizetype k = 0;
        for (int t = 0; t < n; ++t) {
            while (k < size && text[k] != tab)
                ++k;
            if (k == size) return false;
            ++k;
        }
        *from = k;
        while (k < size && text[k] != tab)
            ++k;
        *to = k;
        return true;
    };
    if (isAside(i)) return find(QStringView(m_aside[m_refs.at(i).offset]), QLatin1Char('\t'));
    return find(bytes(i), '\t');
}

QStringView QuoteLines::mid(qsizetype i, qsizetype from, qsizetype n, Buffer &buffer) const
{
    const Ref &r = m_refs.at(i);
    if (r.block == kAside) return QStringView(m_aside[r.offset]).mid(from, n);
    const qsizetype all = length(i);
    from = std::clamp<qsizetype>(from, 0, all);
    if (n < 0 || n > all - from) n = all - from;
    const auto *s = reinterpret_cast<const unsigned char *>(start(r)) + from;
    if (n > qsizetype(std::size(buffer.small))) {
        buffer.large = decodeWindows1252(reinterpret_cast<const char *>(s), n);
        return buffer.large;
    }
    for (qsizetype k = 0; k < n; ++k)
        buffer.small[k] = windows1252Char(s[k]);
    return QStringView(buffer.small, n);
}

bool QuoteLines::equals(qsizetype i, QStringView text) const
{
    const Ref &r = m_refs.at(i);
    if (r.block == kAside) return QStringView(m_aside[r.offset]) == text;
    if (length(i) != text.size()) return false;
    const auto *s = reinterpret_cast<const unsigned char *>(start(r));
    for (qsizetype k = 0; k < text.size(); ++k)
        if (windows1252Char(s[k]) != text[k].unicode()) return false;
    return true;
}

int QuoteLines::compare(qsizetype i, qsizetype j) const
{
    if (isAside(i) || isAside(j)) return QStringView(at(i)).compare(QStringView(at(j)));
    // Each byte stands for one character: the first differing byte decides.
    const QByteArrayView a = bytes(i), b = bytes(j);
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype k = 0; k < n; ++k) {
        if (a[k] == b[k]) continue;
        return windows1252Char(uchar(a[k])) < windows1252Char(uchar(b[k])) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QStringList QuoteLines::toStringList() const
{
    QStringList out;
    out.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        out.append(at(i));
    return out;
}

QuoteLines QuoteLines::picked(const QList<qsizetype> &positions) const
{
    QuoteLines out;
    const qsizetype n = positions.size();
    // The lines lie far apart: each waits on the memory, so that two cores
    // asking at once take about half the time.
    constexpr qsizetype kLeast = 8192;
    if (parallel::parts(n, kLeast) > 1) {
        out.m_refs.resize(n);
        const qsizetype perLine = size() > 0 ? heldBytes() / size() + 1 : 64;
        std::vector<Writer> writers = out.writers(parallel::parts(n, kLeast), n * perLine);
        std::vector<std::vector<qsizetype>> others(writers.size()); // aside or long
        parallel::forParts(n, kLeast, [&](int part, qsizetype begin, qsizetype end) {
            Writer &w = writers[size_t(part)];
            for (qsizetype k = begin; k < end; ++k) {
                if (k + 2 * kAhead < end)
                    __builtin_prefetch(m_refs.constData() + positions[k + 2 * kAhead]);
                if (k + kAhead < end) prefetch(positions[k + kAhead]);
                const Ref r = m_refs.at(positions[k]);
                if (r.block >= kLong) {
                    others[size_t(part)].push_back(k);
                    continue;
                }
                char *d = w.line(k, r.length);
                if (r.length > 0) std::memcpy(d, start(r), r.length);
            }
        });
        out.adopt(writers);
        for (const std::vector<qsizetype> &part : others)
            for (const qsizetype k : part)
                out.set(k, at(positions[k]));
        return out;
    }
    out.m_refs.reserve(n);
    for (qsizetype k = 0; k < n; ++k) {
        if (k + 2 * kAhead < n) __builtin_prefetch(m_refs.constData() + positions[k + 2 * kAhead]);
        if (k + kAhead < n) prefetch(positions[k + kAhead]);
        const qsizetype i = positions[k];
        if (isAside(i))
            out.append(m_aside[m_refs[i].offset]);
        else
            out.appendBytes(bytes(i));
    }
    return out;
}

// --- Changes ----------------------------------------------------------------

char *QuoteLines::room(qsizetype n, Ref &ref)
{
    if (n > kMaxLength) { // more than a reference tells: bytes of its own
        m_long.append(QByteArray(n, Qt::Uninitialized));
        ref = {kLong, quint32(m_long.size() - 1), 0};
        return m_long.last().data();
    }
    // The open block takes the bytes when it is this copy's alone and has
    // the room: a block shared with a copy is never changed, and a block
    // never grows, so that the bytes of a line never move.
    bool fits = false;
    if (m_open >= 0) {
        // A copy of the lines shares the list of blocks, or, once the list
        // was copied, each block.
        const QByteArray &block = std::as_const(m_blocks)[m_open];
        const bool own = m_blocks.isDetached() && block.isDetached();
        fits = own && m_openUsed + n <= block.size();
        if (!own) m_nextBlockSize = kFirstBlockSize;
    }
    if (!fits) {
        // Unreached: tidy() copies the lines into few blocks long before.
        if (m_blocks.size() >= kMaxBlocks) throw tooManyBlocks();
        const qsizetype size = std::max(n, m_nextBlockSize);
        m_nextBlockSize = std::min(m_nextBlockSize * 2, kBlockSize);
        m_blocks.append(QByteArray(size, Qt::Uninitialized));
        preferLargePages(m_blocks.constLast().constData(), size_t(size));
        m_open = m_blocks.size() - 1;
        m_openUsed = 0;
    }
    char *d = m_blocks[m_open].data() + m_openUsed;
    ref = {quint32(m_open), quint32(m_openUsed), quint32(n)};
    m_openUsed += n;
    return d;
}

QuoteLines::Ref QuoteLines::asideRef(const QString &line)
{
    m_aside.append(line);
    m_asideBytes.append(encodeWindows1252(line));
    return {kAside, quint32(m_aside.size() - 1), 0};
}

void QuoteLines::append(const QString &line)
{
    // Encoded straight into the open block; a line the code page cannot
    // hold gives its room back (the last bytes taken) and goes aside.
    Ref r{};
    if (line.size() > kMaxLength) {
        QByteArray bytes;
        if (encodeWindows1252Exactly(line, bytes))
            appendBytes(bytes);
        else
            m_refs.push_back(asideRef(line));
    } else if (encodeWindows1252Into(line, room(line.size(), r))) {
        m_refs.push_back(r);
    } else {
        m_openUsed -= line.size();
        m_refs.push_back(asideRef(line));
    }
}

void QuoteLines::append(const QStringList &lines)
{
    m_refs.reserve(m_refs.size() + lines.size());
    for (const QString &line : lines)
        append(line);
}

void QuoteLines::append(const QuoteLines &other)
{
    if (&other == this) {
        const QuoteLines copy = other;
        append(copy);
        return;
    }
    // The blocks are never changed once shared: taking them copies no byte.
    // The open block stays this one's own. Past the blocks a reference
    // tells, the bytes are copied.
    const qsizetype base = m_blocks.size();
    const bool share = base + other.m_blocks.size() <= kMaxBlocks;
    if (share) m_blocks.append(other.m_blocks);
    m_refs.reserve(m_refs.size() + other.size());
    for (qsizetype i = 0; i < other.size(); ++i) {
        const Ref &r = other.m_refs.at(i);
        if (r.block == kAside) {
            m_refs.push_back(asideRef(other.m_aside[r.offset]));
        } else if (r.block == kLong) {
            m_long.append(other.m_long[r.offset]);
            m_refs.push_back({kLong, quint32(m_long.size() - 1), 0});
        } else if (share) {
            m_refs.push_back({quint32(r.block + base), r.offset, r.length});
        } else {
            appendBytes(other.bytes(i));
        }
    }
}

void QuoteLines::appendBytes(QByteArrayView line)
{
    Ref r{};
    char *d = room(line.size(), r);
    if (!line.isEmpty()) std::memcpy(d, line.data(), size_t(line.size()));
    m_refs.push_back(r);
}

void QuoteLines::set(qsizetype i, const QString &line)
{
    QByteArray bytes;
    if (encodeWindows1252Exactly(line, bytes))
        setBytes(i, bytes);
    else
        m_refs[i] = asideRef(line);
}

void QuoteLines::setBytes(qsizetype i, QByteArrayView line)
{
    char *d = rewrite(i, line.size());
    if (!line.isEmpty()) std::memcpy(d, line.data(), size_t(line.size()));
}

char *QuoteLines::rewrite(qsizetype i, qsizetype n)
{
    Ref r{};
    char *d = room(n, r);
    m_refs[i] = r;
    return d;
}

namespace
{
// Whether a line is far from the line before it in the memory: in another
// block, or farther than `near` bytes.
template <typename Ref> bool farApart(const Ref &a, const Ref &b, qint64 near)
{
    return a.block != b.block || std::abs(qint64(a.offset) - qint64(b.offset)) > near;
}
} // namespace

void QuoteLines::reorder(const quint32 *positions, qsizetype n,
                         const std::function<void()> &ordered, std::vector<QByteArray> room)
{
    QList<Ref> out;
    out.reserve(n);
    preferLargePages(out.constData(), size_t(n) * sizeof(Ref));
    out.resize(n);
    Ref *o = out.data();
    const Ref *in = m_refs.constData();
    const quint32 *p = positions;
    // The references are read out of order, in parts on every core, which
    // count the lines far from the line before them.
    std::atomic<qsizetype> far{0}, bytes{0};
    parallel::forParts(n, 100000, [&](int, qsizetype begin, qsizetype end) {
        qsizetype mine = 0, length = 0;
        const Ref *previous = nullptr;
        for (qsizetype k = begin; k < end; ++k) {
            if (k + kAhead < end) __builtin_prefetch(in + p[k + kAhead]);
            o[k] = in[p[k]];
            if (o[k].block >= kLong) continue;
            length += o[k].length;
            if (previous && farApart(*previous, o[k], kNear)) ++mine;
            previous = o + k;
        }
        far += mine;
        bytes += length;
    });
    m_refs = std::move(out);
    if (ordered) ordered();
    // Lines scattered over the memory (a store laid out in another order)
    // are copied in their new order at once, as tidy() would.
    if (far > n / 8 + 16) copyInOrder(n, bytes, std::move(room));
}

void QuoteLines::reorderWhereTheyStand(const quint32 *from, const std::vector<size_t> &cut)
{
    Q_ASSERT(ownsRefs() && !cut.empty() && cut.back() == size_t(size()));
    Ref *const refs = m_refs.data(); // its own: written where it is, not copied
    const int parts = int(cut.size()) - 1;
    // A part is a run of spans, each holding the lines its lines come from:
    // one span at a time goes through room the size of the largest.
    auto forSpans = [&](int p, const auto &span) {
        size_t begin = cut[size_t(p)], last = 0;
        for (size_t k = begin; k < cut[size_t(p) + 1]; ++k) {
            Q_ASSERT(from[k] >= begin && from[k] < cut[size_t(p) + 1]);
            last = std::max<size_t>(last, from[k]);
            if (last == k) {
                span(begin, k + 1);
                begin = k + 1;
            }
        }
    };
    std::vector<size_t> largest(size_t(std::max(parts, 0)));
    parallel::onThreads(parts, [&](int p) {
        forSpans(p, [&](size_t b, size_t e) {
            largest[size_t(p)] = std::max(largest[size_t(p)], e - b);
        });
    });
    std::vector<std::vector<Ref>> room(largest.size());
    for (size_t p = 0; p < largest.size(); ++p)
        room[p].resize(largest[p]);
    parallel::onThreads(parts, [&](int p) {
        Ref *const mine = room[size_t(p)].data();
        forSpans(p, [&](size_t b, size_t e) {
            for (size_t k = b; k < e; ++k)
                mine[k - b] = refs[from[k]];
            std::copy(mine, mine + (e - b), refs + b);
        });
    });
}

void QuoteLines::putBack(const quint32 *from)
{
    const qsizetype n = size();
    QList<Ref> out(n);
    Ref *const o = out.data();
    const Ref *const in = m_refs.constData();
    parallel::forParts(n, 100000, [&](int, qsizetype begin, qsizetype end) {
        for (qsizetype k = begin; k < end; ++k)
            o[from[k]] = in[k];
    });
    m_refs = std::move(out);
}

void QuoteLines::layOutInOrder(const quint32 *from)
{
    Q_ASSERT(ownsBytes());
    const qsizetype n = size();
    if (n < 2) return;
    Ref *const refs = m_refs.data(); // its own: written where it is, not copied
    const std::vector<char *> blocks = ownBlocks();
    const int parts = parallel::parts(n, 100000);
    // The furthest line each part's lines come from: a run goes on while the
    // lines before it come from beyond it.
    std::vector<qsizetype> reach(size_t(parts), -1);
    parallel::onThreads(parts, [&](int p) {
        for (qsizetype k = n * p / parts; k < n * (p + 1) / parts; ++k)
            reach[size_t(p)] = std::max(reach[size_t(p)], qsizetype(from[k]));
    });
    parallel::onThreads(parts, [&](int p) {
        const qsizetype end = n * (p + 1) / parts;
        qsizetype k = n * p / parts, furthest = -1;
        for (int q = 0; q < p; ++q)
            furthest = std::max(furthest, reach[size_t(q)]);
        // The runs that begin in this part are this part's.
        while (k < n && furthest >= k)
            furthest = std::max(furthest, qsizetype(from[k++]));
        std::vector<Ref> before; // the run's lines as they stood
        QByteArray room;
        try {
            while (k < end) {
                const qsizetype begin = k;
                furthest = from[k];
                while (furthest > k)
                    furthest = std::max(furthest, qsizetype(from[++k]));
                const qsizetype last = k++;
                if (last == begin) continue; // a line in its place
                before.resize(size_t(last - begin + 1));
                for (qsizetype i = begin; i <= last; ++i)
                    before[size_t(from[i] - begin)] = refs[i];
                const Ref &first = before.front(), &final = before.back();
                if (first.block >= kLong || !blocks[first.block]) continue;
                char *const block = blocks[first.block];
                bool together = true;
                for (size_t j = 1; j < before.size() && together; ++j) {
                    const Ref &a = before[j - 1], &b = before[j];
                    together = b.block == a.block && b.offset >= a.offset + a.length &&
                               std::all_of(block + a.offset + a.length, block + b.offset,
                                           [](char c) { return c == '\r' || c == '\n'; });
                }
                if (!together) continue;
                const qsizetype low = first.offset, high = final.offset + final.length;
                room.resize(high - low);
                std::memcpy(room.data(), block + low, size_t(high - low));
                qsizetype at = low;
                for (qsizetype i = begin; i <= last; ++i) {
                    Ref &r = refs[i];
                    std::memcpy(block + at, room.constData() + (r.offset - low), r.length);
                    r.offset = quint32(at);
                    at += r.length;
                }
                std::fill(block + at, block + high, '\n'); // line ends, as between lines
            }
        } catch (const std::bad_alloc &) {
            // The runs left stay where they are.
        }
    });
}

void QuoteLines::Writer::newBlock(qsizetype n)
{
    if (m_at) m_written += m_end - m_begin;
    if (!m_spare.empty() && m_spare.back().size() >= n) {
        m_blocks.append(std::move(m_spare.back()));
        m_spare.pop_back();
    } else {
        // No more than the bytes still expected: a few lines rewritten do
        // not hold a large block.
        const qsizetype size =
            std::max(n, std::clamp(m_expected - m_written, kFirstBlockSize, kBlockSize));
        m_blocks.append(QByteArray(size, Qt::Uninitialized));
        preferLargePages(m_blocks.constLast().constData(), size_t(size));
    }
    m_begin = m_at = m_blocks.last().data();
    m_end = m_begin + m_blocks.constLast().size();
}

std::vector<QuoteLines::Writer> QuoteLines::writers(int parts, qsizetype bytes,
                                                    std::vector<QByteArray> room)
{
    std::vector<Writer> out(size_t(std::max(parts, 1)));
    Ref *refs = m_refs.data(); // a copy's references are copied here, once
    for (Writer &w : out) {
        w.m_refs = refs;
        w.m_base = m_blocks.size();
        w.m_expected = bytes / qsizetype(out.size());
        // A piece of room larger than the part's bytes would hold its rest
        // unused as long as the store lives: fresh blocks instead.
        QByteArray given;
        if (!room.empty() && room.back().size() <= std::min<qsizetype>(w.m_expected, kMaxOffset) &&
            room.back().isDetached()) {
            given = std::move(room.back());
            room.pop_back();
        }
        for (qsizetype left = w.m_expected - given.size(); left > 0; left -= kBlockSize) {
            w.m_spare.emplace_back(std::clamp(left, kFirstBlockSize, kBlockSize),
                                   Qt::Uninitialized);
            preferLargePages(w.m_spare.back().constData(), size_t(w.m_spare.back().size()));
        }
        std::reverse(w.m_spare.begin(), w.m_spare.end()); // taken from the back
        if (!given.isEmpty()) w.m_spare.push_back(std::move(given));
    }
    return out;
}

void QuoteLines::adopt(std::vector<Writer> &writers)
{
    // Each writer numbered its blocks from the store's last one: those of
    // the writers after the first move up behind the blocks before them.
    const qsizetype base = m_blocks.size();
    qsizetype added = 0;
    for (const Writer &w : writers)
        added += w.m_blocks.size();
    if (base + added > kMaxBlocks) throw tooManyBlocks();
    for (Writer &w : writers) {
        const qsizetype shift = m_blocks.size() - base;
        if (shift > 0) {
            for (qsizetype i = w.m_first; i <= w.m_last; ++i) {
                Ref &r = m_refs[i];
                if (r.block < kLong && qsizetype(r.block) >= base) r.block += quint32(shift);
            }
        }
        if (w.m_blocks.isEmpty()) continue;
        m_blocks.append(std::move(w.m_blocks));
        // The room left in the last block takes the lines appended next.
        m_open = m_blocks.size() - 1;
        m_openUsed = w.m_at - w.m_begin;
        m_nextBlockSize = kFirstBlockSize;
    }
}

// --- Text written over -------------------------------------------------------

std::vector<char *> QuoteLines::ownBlocks()
{
    Q_ASSERT(ownsBytes());
    std::vector<char *> blocks(size_t(m_blocks.size()), nullptr);
    for (qsizetype b = 0; b < m_blocks.size(); ++b)
        if (!m_blocks.at(b).isNull()) blocks[size_t(b)] = m_blocks[b].data(); // its own: no copy
    return blocks;
}

bool QuoteLines::ownsBytes() const
{
    if (m_blocks.isEmpty() || !m_blocks.isDetached()) return false;
    return std::all_of(m_blocks.cbegin(), m_blocks.cend(),
                       [](const QByteArray &b) { return b.isNull() || b.isDetached(); });
}

std::vector<QuoteLines::Overwriter> QuoteLines::overwriters(int parts, qsizetype lines)
{
    Q_ASSERT(ownsBytes());
    std::vector<Overwriter> out(size_t(std::max(parts, 1)));
    Ref *refs = m_refs.data(); // a copy's references are copied here, once
    const std::vector<char *> blocks = ownBlocks();
    for (Overwriter &o : out) {
        o.m_refs = refs;
        o.m_blocks = blocks;
        // A price and its place take about a dozen bytes a line; room not
        // written in is never given pages.
        o.m_kept.reserve(size_t(lines) * 16);
        preferLargePages(o.m_kept.data(), o.m_kept.capacity());
    }
    return out;
}

bool QuoteLines::Overwriter::replace(qsizetype i, qsizetype from, qsizetype to, QByteArrayView text)
{
    Q_ASSERT(i > m_last);
    Ref &r = m_refs[i];
    const qsizetype before = to - from, n = text.size();
    if (r.block >= kLong || from < 0 || n > before || to > qsizetype(r.length)) return false;
    char *line = m_blocks[r.block] + r.offset;
    for (const qsizetype v : {i - m_last, from, n, before})
        varint::append(m_kept, quint64(v));
    m_kept.insert(m_kept.end(), line + from, line + to);
    if (n > 0) std::memcpy(line + from, text.data(), size_t(n));
    if (n < before) {
        std::memmove(line + from + n, line + to, size_t(r.length - to));
        r.length -= quint32(before - n);
    }
    m_last = i;
    return true;
}

QuoteLines::Former QuoteLines::former(std::vector<Overwriter> &overwriters) const
{
    Former kept;
    for (Overwriter &o : overwriters)
        kept.m_parts.push_back(std::move(o.m_kept));
    return kept;
}

void QuoteLines::keepPlace(qsizetype i, Former &former) const
{
    former.m_moved.emplace_back(i, m_refs.at(i));
}

namespace
{
// Calls kept(line, from, length, before) for each line of a part an
// overwriter kept, `before` its text before.
template <typename Kept> void forEachKept(const std::vector<quint8> &part, Kept kept)
{
    const quint8 *p = part.data(), *end = p + part.size();
    qsizetype line = -1;
    while (p < end) {
        line += qsizetype(varint::read(p));
        const qsizetype from = qsizetype(varint::read(p));
        const qsizetype length = qsizetype(varint::read(p));
        const qsizetype before = qsizetype(varint::read(p));
        kept(line, from, length, QByteArrayView(reinterpret_cast<const char *>(p), before));
        p += before;
    }
}
} // namespace

void QuoteLines::restore(const Former &former)
{
    const bool inPlace = ownsBytes();
    Ref *refs = m_refs.data();
    for (const auto &[i, r] : former.m_moved) // their bytes never changed
        refs[i] = r;
    if (!inPlace) { // a copy shares the bytes: the lines before go into new blocks
        QByteArray line;
        for (const std::vector<quint8> &part : former.m_parts) {
            forEachKept(part,
                        [&](qsizetype i, qsizetype from, qsizetype length, QByteArrayView before) {
                            const QByteArrayView now = bytes(i);
                            line = now.first(from).toByteArray();
                            line += before;
                            line += now.sliced(from + length);
                            setBytes(i, line);
                        });
        }
        return;
    }
    // Each line takes back the room it left, each part on a core.
    const std::vector<char *> blocks = ownBlocks();
    parallel::onThreads(int(former.m_parts.size()), [&](int p) {
        forEachKept(former.m_parts[size_t(p)],
                    [&](qsizetype i, qsizetype from, qsizetype length, QByteArrayView before) {
                        Ref &r = refs[i];
                        char *line = blocks[r.block] + r.offset;
                        const qsizetype n = before.size();
                        if (n != length)
                            std::memmove(line + from + n, line + from + length,
                                         size_t(qsizetype(r.length) - from - length));
                        if (n > 0) std::memcpy(line + from, before.data(), size_t(n));
                        r.length = quint32(qsizetype(r.length) + n - length);
                    });
    });
}

void QuoteLines::copyInOrder(qsizetype n, qsizetype bytes, std::vector<QByteArray> room)
{
    // The references are written over where this store holds them alone.
    QuoteLines fresh;
    fresh.m_refs = std::move(m_refs);
    constexpr qsizetype kLeast = 100000;
    std::vector<Writer> writers = fresh.writers(parallel::parts(n, kLeast), bytes, std::move(room));
    std::vector<const char *> from(size_t(m_blocks.size()));
    for (qsizetype b = 0; b < m_blocks.size(); ++b)
        from[size_t(b)] = m_blocks.at(b).constData();
    const Ref *const in = fresh.m_refs.constData();
    // Each part reads its lines (out of the order of the memory: it is asked
    // for their bytes ahead) and writes them in order.
    std::atomic<qsizetype> aside{0};
    parallel::forParts(n, kLeast, [&](int part, qsizetype begin, qsizetype end) {
        Writer &w = writers[size_t(part)];
        qsizetype mine = 0;
        for (qsizetype k = begin; k < end; ++k) {
            if (k + kAhead < end && in[k + kAhead].block < kLong)
                __builtin_prefetch(from[in[k + kAhead].block] + in[k + kAhead].offset);
            const Ref r = in[k];
            if (r.block >= kLong) {
                ++mine; // keeps its place among the texts aside or long lines, for now
            } else {
                char *d = w.line(k, r.length);
                if (r.length > 0) std::memcpy(d, from[r.block] + r.offset, r.length);
            }
        }
        aside += mine;
    });
    fresh.adopt(writers);
    if (aside > 0) { // only the texts aside and long lines still used are kept
        for (Ref &r : fresh.m_refs) {
            if (r.block == kAside) {
                fresh.m_aside.append(m_aside[r.offset]);
                fresh.m_asideBytes.append(m_asideBytes[r.offset]);
                r.offset = quint32(fresh.m_aside.size() - 1);
            } else if (r.block == kLong) { // shared, not copied
                fresh.m_long.append(m_long[r.offset]);
                r.offset = quint32(fresh.m_long.size() - 1);
            }
        }
    }
    *this = std::move(fresh);
}

void QuoteLines::remove(qsizetype from, qsizetype n)
{
    m_refs.remove(from, n);
}

void QuoteLines::clear()
{
    *this = QuoteLines();
}

qsizetype QuoteLines::heldBytes() const
{
    qsizetype held = 0;
    for (const QByteArray &block : m_blocks)
        held += block.size();
    if (m_open >= 0) held -= m_blocks.at(m_open).size() - m_openUsed; // room left
    return held;
}

void QuoteLines::tidy()
{
    std::vector<qsizetype> live(size_t(m_blocks.size()), 0);
    qsizetype liveBytes = 0, asideUsed = 0, longUsed = 0;
    // Lines far from the line before them: after a sort of lines laid in
    // another order, every pass over the lines would wait on the memory.
    qsizetype far = 0;
    const Ref *previous = nullptr;
    for (const Ref &r : std::as_const(m_refs)) {
        if (r.block >= kLong) {
            ++(r.block == kAside ? asideUsed : longUsed);
            continue;
        }
        live[r.block] += r.length;
        liveBytes += r.length;
        if (previous && farApart(*previous, r, kNear)) ++far;
        previous = &r;
    }
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (live[size_t(b)] == 0 && !m_blocks.at(b).isNull() && b != m_open)
            m_blocks[b] = QByteArray();
    }
    const qsizetype held = heldBytes();
    const bool garbageBytes = held > 2 * liveBytes + kFirstBlockSize;
    const bool garbageAside =
        m_aside.size() > 2 * asideUsed + 16 || m_long.size() > 2 * longUsed + 16;
    const bool emptyBlocks = m_blocks.size() > 64 && m_blocks.size() > 4 * (held / kBlockSize + 1);
    const bool scattered = far > size() / 8 + 16;
    if (!garbageBytes && !garbageAside && !emptyBlocks && !scattered) return;

    copyInOrder(size(), liveBytes);
}

// --- Files ------------------------------------------------------------------

QuoteLines QuoteLines::read(const QString &path, FileStamp *stamp, const Added &added)
{
    QuoteLines lines;
    const qint64 limit = largeFileLimit();
    const qint64 size = QFileInfo(path).size();
    if (size <= limit) { // a larger file is refused as it is read
        const qsizetype expected = qsizetype(size / 48 + 1);
        lines.m_refs.reserve(expected);
        preferLargePages(lines.m_refs.constData(), size_t(expected) * sizeof(Ref));
    }
    // The blocks of the file become the lines' blocks, without a copy; a
    // line cut between two blocks is copied whole into a block of its own.
    // Lines end as readLineBytes ends them; empty ones are left out.
    LineCutter cutter;
    const auto carried = [&lines](const char *s, qsizetype n) {
        if (n > 0) lines.appendBytes(QByteArrayView(s, n));
    };
    qsizetype told = 0; // the lines `added` was told of
    const auto tell = [&] {
        if (added && told < lines.size()) added(lines, told);
        told = lines.size();
    };
    const auto take = [&](const QByteArray &chunk) {
        qint64 block = -1; // taken when a line lies in it
        cutter.feed(
            chunk.constData(), chunk.size(),
            [&](qsizetype start, qsizetype end) {
                if (end == start) return;
                if (end - start > kMaxLength ||
                    (block < 0 && lines.m_blocks.size() >= kMaxBlocks)) {
                    lines.appendBytes(QByteArrayView(chunk.constData() + start, end - start));
                    return;
                }
                if (block < 0) {
                    block = lines.m_blocks.size();
                    lines.m_blocks.append(chunk);
                }
                lines.m_refs.push_back({quint32(block), quint32(start), quint32(end - start)});
            },
            carried);
        tell();
    };
    if (size < 3 * kBlockSize) {
        readChunks(path, take, limit, stamp);
    } else {
        // Each block is split on another core while the next one is read.
        std::mutex mutex;
        std::condition_variable ready;
        std::deque<QByteArray> queue;
        bool done = false;
        std::exception_ptr failure;
        std::thread splitter([&] {
            try {
                for (;;) {
                    QByteArray chunk;
                    {
                        std::unique_lock<std::mutex> lock(mutex);
                        ready.wait(lock, [&] { return !queue.empty() || done; });
                        if (queue.empty()) return;
                        chunk = std::move(queue.front());
                        queue.pop_front();
                    }
                    take(chunk);
                }
            } catch (...) {
                failure = std::current_exception();
            }
        });
        {
            const auto joining = qScopeGuard([&] {
                {
                    const std::lock_guard<std::mutex> lock(mutex);
                    done = true;
                }
                ready.notify_one();
                splitter.join();
            });
            readChunks(
                path,
                [&](QByteArray chunk) {
                    {
                        const std::lock_guard<std::mutex> lock(mutex);
                        queue.push_back(std::move(chunk));
                    }
                    ready.notify_one();
                },
                limit, stamp);
        }
        if (failure) std::rethrow_exception(failure);
    }
    cutter.finish(carried);
    tell();
    // Room reserved and never written takes no memory; freeing it would copy
    // every reference, a moment with two lists.
    if (lines.m_refs.capacity() > lines.size() + lines.size() / 4 + 1024) lines.m_refs.squeeze();
    return lines;
}

QuoteLines QuoteLines::split(const QByteArray &bytes, qsizetype from, bool utf8)
{
    QuoteLines lines;
    // The bytes become the first block, unless a line's place would not fit
    // a reference.
    const bool shared = bytes.size() <= kMaxOffset;
    if (shared) lines.m_blocks.append(bytes);
    // A byte-order mark is one at the start of the file only, and the caller
    // skips it: any other, even one right after it, is a character of its line.
    QStringDecoder keepingMarks(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                          QStringDecoder::Flag::ConvertInitialBom);
    const auto add = [&](qsizetype start, qsizetype n) {
        const QByteArrayView line(bytes.constData() + start, n);
        if (utf8 && std::any_of(line.begin(), line.end(), [](char c) { return uchar(c) >= 0x80; }))
            lines.append(QString(keepingMarks.decode(line)));
        else if (shared && n <= kMaxLength)
            lines.m_refs.push_back({0, quint32(start), quint32(n)});
        else
            lines.appendBytes(line);
    };
    const char *b = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = from;
    for (qsizetype i = from; i < n; ++i) {
        if (b[i] != '\r' && b[i] != '\n') continue;
        add(start, i - start);
        if (b[i] == '\r' && i + 1 < n && b[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) add(start, n - start);
    return lines;
}

FileStamp QuoteLines::write(const QString &path) const
{
    return writeBytes(path, [this](const ByteSink &sink) {
        // Chunks of a megabyte, the store not copied whole. The disk writes
        // each one while the next is filled (see writeBytes): filling them on
        // another core as well gained nothing.
        constexpr qsizetype kChunk = 1 << 20;
        std::vector<char> buffer(static_cast<size_t>(kChunk));
        char *const begin = buffer.data(), *const full = begin + kChunk;
        char *p = begin;
        for (qsizetype i = 0; i < size(); ++i) {
            if (i + kAhead < size()) prefetch(i + kAhead);
            const QByteArrayView line = bytes(i);
            if (full - p < line.size() + 2) {
                if (p != begin && !sink(begin, p - begin)) return false;
                p = begin;
                if (line.size() + 2 > kChunk) { // a line longer than a chunk
                    if (!sink(line.data(), line.size()) || !sink("\r\n", 2)) return false;
                    continue;
                }
            }
            std::memcpy(p, line.data(), size_t(line.size()));
            p += line.size();
            *p++ = '\r';
            *p++ = '\n';
        }
        return p == begin || sink(begin, p - begin);
    });
}

// --- Comparison -------------------------------------------------------------

bool operator==(const QuoteLines &a, const QuoteLines &b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const bool asideA = a.isAside(i), asideB = b.isAside(i);
        // A line aside holds a character no line of bytes holds.
        if (asideA != asideB) return false;
        if (asideA ? a.at(i) != b.at(i) : a.bytes(i) != b.bytes(i)) return false;
    }
    return true;
}

bool operator==(const QuoteLines &a, const QStringList &b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!a.equals(i, b.at(i))) return false;
    return true;
}

char *toString(const QuoteLines &lines)
{
    QString text;
    QDebug(&text) << lines.toStringList();
    return qstrdup(text.toUtf8().constData());
}
