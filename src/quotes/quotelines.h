#pragma once

#include "base/textfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <iterator>
#include <limits>
#include <vector>

// The lines of the quotation store, held as the file holds them: their
// Windows-1252 bytes in large blocks, and a reference (block, offset,
// length) per line. A copy (the undo copy) shares the blocks, and the
// references until one side changes them; sorting permutes references (and
// copies the lines into new blocks in their new order when it scatters
// them), deleting drops references; new and rewritten lines go into blocks of
// their own, so that a block once shared is never changed (only a store whose
// blocks no copy shares may write over its lines in place). A line with a
// character the code page lacks (code can hand one over; typed and imported
// text is refused before) is kept aside as its text, so that every line reads
// back exactly as it was given. A line longer than 64 KB keeps its bytes in a
// list of its own.
//
// Reading a line gives its text; the byte views are for the loops over
// every line. A view is valid until the lines are next changed.
class QuoteLines
{
public:
    QuoteLines() = default;
    // Implicit, so that the functions reading a store take a QStringList.
    QuoteLines(const QStringList &lines);
    QuoteLines(std::initializer_list<QString> lines) : QuoteLines(QStringList(lines)) {}

    qsizetype size() const { return m_refs.size(); }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return m_refs.isEmpty(); }

    QString at(qsizetype i) const;
    QString operator[](qsizetype i) const { return at(i); }
    QString first() const { return at(0); }
    QString constFirst() const { return at(0); }
    QString last() const { return at(size() - 1); }
    QString constLast() const { return at(size() - 1); }
    // The number of characters of line i.
    qsizetype length(qsizetype i) const
    {
        const Ref &r = m_refs.at(i);
        if (r.block == kAside) return m_aside[r.offset].size();
        return r.block == kLong ? m_long[r.offset].size() : qsizetype(r.length);
    }
    // Whether line i is held aside as text (a character outside the code page).
    bool isAside(qsizetype i) const { return m_refs.at(i).block == kAside; }
    // The bytes of line i; for a line held aside, its bytes with '?' for each
    // character the code page lacks (see isAside).
    QByteArrayView bytes(qsizetype i) const
    {
        const Ref &r = m_refs.at(i);
        if (r.block >= kLong) return r.block == kAside ? m_asideBytes[r.offset] : m_long[r.offset];
        return QByteArrayView(m_blocks[r.block].constData() + r.offset, r.length);
    }

    // Asks the memory for the bytes of line i, a few lines before reading
    // it: after a sort, the lines are read out of the order of their bytes.
    void prefetch(qsizetype i) const
    {
        const Ref &r = m_refs.at(i);
        if (r.block < kLong) __builtin_prefetch(m_blocks[r.block].constData() + r.offset);
    }
    // The distance, in lines, of a prefetch.
    static constexpr qsizetype kAhead = 16;

    // Up to `n` characters of line i from character `from` (to its end when
    // `n` is negative), as text, decoded into `buffer` when they fit it.
    struct Buffer {
        char16_t small[64];
        QString large;
    };
    QStringView mid(qsizetype i, qsizetype from, qsizetype n, Buffer &buffer) const;
    // Where field `n` (from 0; fields are separated by tabs) of line i lies,
    // in characters: from after the n-th tab up to the next tab or the end.
    // False when the line has fewer than n tabs.
    bool field(qsizetype i, int n, qsizetype *from, qsizetype *to) const;
    // Whether line i is exactly `text`.
    bool equals(qsizetype i, QStringView text) const;
    // Negative, 0 or positive as line i is below, equal to or above line j,
    // character by character (as QString compares them).
    int compare(qsizetype i, qsizetype j) const;

    QStringList toStringList() const;
    // The lines at these positions, copied into blocks of their own (the
    // memory is asked for their references and bytes ahead: the positions are
    // far apart). No block is shared: the store may change or free its own.
    QuoteLines picked(const QList<qsizetype> &positions) const;
    operator QStringList() const { return toStringList(); }

    // --- Changes --------------------------------------------------------------
    void append(const QString &line);
    void append(const QStringList &lines);
    // Appends the lines of `other`, sharing its blocks of bytes.
    void append(const QuoteLines &other);
    // Appends bytes of the code page.
    void appendBytes(QByteArrayView line);
    void set(qsizetype i, const QString &line);
    void setBytes(qsizetype i, QByteArrayView line);
    // Line i becomes `n` new bytes, to be written at once where the pointer
    // returned points (its former bytes stay readable meanwhile).
    char *rewrite(qsizetype i, qsizetype n);
    // The lines become the lines at those positions, in that order (a
    // permutation, a selection, or both). Lines then scattered over the
    // memory are copied into new blocks in that order at once, as tidy()
    // would copy them, so that the passes after read them in the order of
    // the memory; a copy keeps the blocks before. `ordered` is called once
    // the lines are in their new order, before any copy. `room` is memory
    // the caller no longer needs (once `ordered` returned): a copy writes
    // lines into it before it asks for more, each piece a block of the store.
    void reorder(const quint32 *positions, qsizetype n, const std::function<void()> &ordered = {},
                 std::vector<QByteArray> room = {});
    void reorder(const std::vector<quint32> &positions)
    {
        reorder(positions.data(), qsizetype(positions.size()));
    }
    // Whether no copy shares the references of the lines: only then may
    // they be reordered where they stand.
    bool ownsRefs() const { return m_refs.isDetached(); }
    // Reorders the lines where they stand, only while ownsRefs(): the line
    // now at k is the line that was at from[k], each line staying inside its
    // part (the parts begin at `cut`, which ends with the line count), and
    // the parts done on threads of their own. The memory it needs is asked
    // for before a line moves: a failure changes nothing.
    void reorderWhereTheyStand(const quint32 *from, const std::vector<size_t> &cut);
    // Puts back lines reordered so that the line now at k was at from[k].
    void putBack(const quint32 *from);
    // Lays the bytes of lines reordered where they stand (the line at k was
    // at from[k], each run of lines among themselves) out in their new
    // order, in the room they took: the passes after read them in the order
    // of the memory. A run whose lines did not lie one after the other in a
    // block, nothing but line ends between them, stays as it is. Only while
    // ownsBytes(), and while nothing keeps where lines stood (a Former).
    void layOutInOrder(const quint32 *from);

    // Writes new lines on several threads at once: each part of the work has
    // a writer of its own, which takes room in blocks of its own, for lines
    // of a range of its own (the ranges apart). Once every part is done,
    // adopt() hands the blocks to the store; until then the lines written
    // read bytes the store does not hold, so a failed work puts back a copy
    // of the store taken before.
    class Writer;
    // Writers for `parts` parts of about `bytes` new bytes in all; a piece of
    // `room` no larger than a part's bytes is the first block that part fills.
    std::vector<Writer> writers(int parts, qsizetype bytes, std::vector<QByteArray> room = {});
    void adopt(std::vector<Writer> &writers);

    // Writes new text over lines in place, on several threads at once, when
    // the store's bytes are its own (ownsBytes): each part of the work has an
    // overwriter of its own, for lines of a range of its own, taken in
    // increasing order. What the lines held before is kept (former()), so
    // that restore() puts it back; where the lines stood does not change.
    class Overwriter;
    class Former;
    // Whether no copy shares this store's blocks of bytes: only then may they
    // be written over.
    bool ownsBytes() const;
    // Whether `other` is a copy of these lines that neither changed since.
    bool sameLines(const QuoteLines &other) const
    {
        return m_refs.isSharedWith(other.m_refs) && m_blocks.isSharedWith(other.m_blocks);
    }
    // Overwriters for `parts` parts of about `lines` lines each; only while
    // ownsBytes().
    std::vector<Overwriter> overwriters(int parts, qsizetype lines);
    // What the overwriters kept, once every part is done.
    Former former(std::vector<Overwriter> &overwriters) const;
    // Line i is about to be set elsewhere (set, setBytes): `former` keeps
    // where it stood, its bytes staying where they are.
    void keepPlace(qsizetype i, Former &former) const;
    // The lines become what they were before the changes `former` kept, the
    // store not changed otherwise since: over their bytes when the store's
    // bytes are its own (where they stood, into the room they left), into
    // new blocks otherwise.
    void restore(const Former &former);
    // Removes `n` lines from `from`.
    void remove(qsizetype from, qsizetype n);
    void removeAt(qsizetype i) { remove(i, 1); }
    void removeFirst() { remove(0, 1); }
    void removeLast() { remove(size() - 1, 1); }
    // Keeps the lines `keep(i)` says yes to, in order; returns the number of
    // lines removed.
    template <typename Keep> qsizetype keepIf(Keep keep)
    {
        Ref *refs = m_refs.data(); // a copy's references are copied here, once
        qsizetype out = 0;
        for (qsizetype i = 0; i < m_refs.size(); ++i)
            if (keep(i)) refs[out++] = refs[i];
        const qsizetype removed = m_refs.size() - out;
        m_refs.resize(out);
        return removed;
    }
    void clear();

    // Lets go of the blocks no line refers to any more, and copies the lines
    // into new blocks, in order, when most of the bytes held belong to no
    // line or when the lines lie scattered over the blocks (after a sort).
    void tidy();
    // The bytes of the blocks held, less the room left in the block that
    // takes new lines (lines aside not counted).
    qsizetype heldBytes() const;

    // --- Files ------------------------------------------------------------------
    // The lines of a file, split as readLines splits them, empty lines left
    // out, of at most half the machine's memory. Throws VError::cannotOpen
    // when it cannot be read, or the refusal of a file that is no regular
    // file or too big. `stamp` gets what the file held. `added` is called
    // with the lines read so far and the first of those just added, as each
    // block is split (on another thread than the caller's for a large file).
    using Added = std::function<void(const QuoteLines &lines, qsizetype from)>;
    static QuoteLines read(const QString &path, FileStamp *stamp = nullptr,
                           const Added &added = {});
    // The lines of a text's bytes from `from`, each ended by CR, LF or CR LF,
    // empty ones kept; they share the bytes. With `utf8`, a line of more
    // than ASCII is decoded from UTF-8 and given as text.
    static QuoteLines split(const QByteArray &bytes, qsizetype from, bool utf8);
    // Replaces the file as writeLines does (each line ended with CR LF; a
    // character the code page lacks written '?'). Throws VError::cannotCreate;
    // returns what the file now holds.
    FileStamp write(const QString &path) const;

    // --- Reading as a list ------------------------------------------------------
    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = QString;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QString;

        const_iterator() = default;
        const_iterator(const QuoteLines *lines, qsizetype i) : m_lines(lines), m_i(i) {}
        QString operator*() const { return m_lines->at(m_i); }
        QString operator[](qsizetype k) const { return m_lines->at(m_i + k); }
        const_iterator &operator++() { return ++m_i, *this; }
        const_iterator operator++(int) { return {m_lines, m_i++}; }
        const_iterator &operator--() { return --m_i, *this; }
        const_iterator operator--(int) { return {m_lines, m_i--}; }
        const_iterator &operator+=(qsizetype k) { return m_i += k, *this; }
        const_iterator &operator-=(qsizetype k) { return m_i -= k, *this; }
        const_iterator operator+(qsizetype k) const { return {m_lines, m_i + k}; }
        const_iterator operator-(qsizetype k) const { return {m_lines, m_i - k}; }
        friend const_iterator operator+(qsizetype k, const const_iterator &it) { return it + k; }
        qsizetype operator-(const const_iterator &o) const { return m_i - o.m_i; }
        bool operator==(const const_iterator &o) const { return m_i == o.m_i; }
        bool operator!=(const const_iterator &o) const { return m_i != o.m_i; }
        bool operator<(const const_iterator &o) const { return m_i < o.m_i; }
        bool operator>(const const_iterator &o) const { return m_i > o.m_i; }
        bool operator<=(const const_iterator &o) const { return m_i <= o.m_i; }
        bool operator>=(const const_iterator &o) const { return m_i >= o.m_i; }

    private:
        const QuoteLines *m_lines = nullptr;
        qsizetype m_i = 0;
    };
    using iterator = const_iterator;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    friend bool operator==(const QuoteLines &a, const QuoteLines &b);
    friend bool operator!=(const QuoteLines &a, const QuoteLines &b) { return !(a == b); }
    friend bool operator==(const QuoteLines &a, const QStringList &b);
    friend bool operator!=(const QuoteLines &a, const QStringList &b) { return !(a == b); }
    friend bool operator==(const QStringList &a, const QuoteLines &b) { return b == a; }
    friend bool operator!=(const QStringList &a, const QuoteLines &b) { return !(b == a); }
    // The lines as the test library prints a list of texts.
    friend char *toString(const QuoteLines &lines);

private:
    // Eight bytes a line: ten million lines take 80 MB.
    struct Ref {
        quint64 block : 16;
        quint64 offset : 32; // in the block; for a line aside or long, its place in its list
        quint64 length : 16;
    };
    static_assert(sizeof(Ref) == 8);
    // A line held aside: its text in m_aside, its bytes in m_asideBytes.
    static constexpr quint32 kAside = 0xFFFF;
    // A line longer than a reference tells (kMaxLength): its bytes in m_long.
    static constexpr quint32 kLong = 0xFFFE;
    static constexpr qsizetype kMaxLength = 0xFFFF;
    static constexpr qsizetype kMaxBlocks = kLong;
    static constexpr qint64 kMaxOffset = 0xFFFFFFFFll;
    // The room of the largest blocks. New blocks start small and double,
    // so that a few lines typed after a copy do not hold a large block.
    static constexpr qsizetype kBlockSize = 4 << 20;
    static constexpr qsizetype kFirstBlockSize = 4 << 10;
    // A line within this distance of the line before it is near it (the
    // lines of a day sorted among themselves stay near); one farther, or in
    // another block, is far.
    static constexpr qint64 kNear = 64 << 10;

    // Where `n` more bytes go: the open block, or a new one.
    char *room(qsizetype n, Ref &ref);
    Ref asideRef(const QString &line);
    // The first byte of a line of bytes (not aside).
    const char *start(const Ref &r) const
    {
        return r.block == kLong ? m_long[r.offset].constData()
                                : m_blocks[r.block].constData() + r.offset;
    }
    // The first byte of each block (null for one let go of), to be written
    // in: only while ownsBytes().
    std::vector<char *> ownBlocks();
    // The n lines copied in order into new blocks, of about `bytes` in all,
    // in parts on every core.
    void copyInOrder(qsizetype n, qsizetype bytes, std::vector<QByteArray> room = {});

    QList<Ref> m_refs; // shared with a copy until one of them changes
    QList<QByteArray> m_blocks;
    QStringList m_aside;
    QList<QByteArray> m_asideBytes;
    QList<QByteArray> m_long;
    // The block that takes new bytes; -1 when none does yet.
    qsizetype m_open = -1;
    qsizetype m_openUsed = 0; // the bytes of the open block taken
    qsizetype m_nextBlockSize = kFirstBlockSize;
};

// The text before of the lines an overwriter wrote over, and the places
// lines set elsewhere stood.
class QuoteLines::Former
{
public:
    bool isEmpty() const { return m_parts.empty() && m_moved.empty(); }

private:
    friend class QuoteLines;
    // Per line: the gap from the line before, where the text written starts
    // in it, its length and the length of the text before (each 7 bits a
    // byte, as the gaps of the keys), then the text before.
    std::vector<std::vector<quint8>> m_parts;
    std::vector<std::pair<qsizetype, Ref>> m_moved;
};

class alignas(64) QuoteLines::Overwriter
{
public:
    // Characters `from` to `to` of line i become `text`, written over the
    // line's bytes, the rest of the line moving up. False, and nothing done,
    // when `text` is longer than what it replaces or the line is held aside
    // or long.
    bool replace(qsizetype i, qsizetype from, qsizetype to, QByteArrayView text);

private:
    friend class QuoteLines;
    Ref *m_refs = nullptr;
    std::vector<char *> m_blocks; // the first byte of each block
    std::vector<quint8> m_kept;
    qsizetype m_last = -1;
};

// Each writer on a cache line of its own: the threads that write through
// them side by side do not slow each other down.
class alignas(64) QuoteLines::Writer
{
public:
    // Whether a writer takes a line of n bytes: a longer one is set by the
    // thread that adopts the writers, after.
    static bool takes(qsizetype n) { return n <= kMaxLength; }
    // Room for the n new bytes of line i, to be written at once.
    char *line(qsizetype i, qsizetype n)
    {
        Q_ASSERT(takes(n));
        if (!m_at || m_end - m_at < n) newBlock(n);
        Ref &r = m_refs[i];
        r.block = quint32(m_base + m_blocks.size() - 1);
        r.offset = quint32(m_at - m_begin);
        r.length = quint32(n);
        m_first = std::min(m_first, i);
        m_last = std::max(m_last, i);
        char *d = m_at;
        m_at += n;
        return d;
    }

private:
    friend class QuoteLines;
    void newBlock(qsizetype n);

    Ref *m_refs = nullptr;
    qsizetype m_base = 0;     // the store's blocks before
    qsizetype m_expected = 0; // the bytes the part should write, for the size of its blocks
    qsizetype m_written = 0;  // the room of the blocks before the one written
    QList<QByteArray> m_blocks;
    // Blocks taken beforehand on the thread that made the writers: the
    // memory the store let go of before is used again there, and a thread
    // of its own would ask the system for new pages.
    std::vector<QByteArray> m_spare;
    char *m_begin = nullptr, *m_at = nullptr, *m_end = nullptr;
    qsizetype m_first = std::numeric_limits<qsizetype>::max(), m_last = -1;
};
