#pragma once

#include "base/varint.h"
#include "quotes/maintenance.h"
#include "quotes/quotelines.h"
#include "quotes/store.h"

#include <QDate>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <QHash>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DirLock;
class QWidget;

// The document's data, without any window: the eight lists, the values and
// flags, the files of the start directory, and the one way every command
// changes the quotation store. Windows get copies of lists in their Init and
// give lists back in their Result.
class BourseData : public QObject
{
    Q_OBJECT
public:
    // `dir` is the start directory every data file is named in.
    explicit BourseData(const QString &dir, QObject *parent = nullptr);
    ~BourseData() override;

    QString dir() const { return m_dir; }
    QString filePath(const QString &name) const;
    // Messages and questions of the file work are shown over this window.
    void setPromptParent(QWidget *parent) { m_promptParent = parent; }

    // --- Files -----------------------------------------------------------
    // One copy writes in a start directory. True when this one holds it from
    // now on (the temporary files a cut save left there are then removed);
    // false when another running copy does, whose process number goes to
    // `holder` (0 when unknown).
    bool lockDir(qint64 *holder);
    // Read-only, nothing is written: the closing writes no file and a
    // portfolio save is refused with readOnlyRefusal.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool readOnly() const { return m_readOnly; }
    static QString readOnlyRefusal(const QString &path);
    // Every file read is remembered as it was; before one is written over,
    // a change made since by another program is asked about (No keeps that
    // change, and the file is not written). Files whose lines did not
    // change since read are not written at all.
    // Reads "Cours.vmq" into the store (empty lines dropped), takes the undo
    // copy, sets the first, last and current dates, clears the modified
    // flag. Throws the system's error when the file cannot be read: the
    // file is then never written over. Returns the message to show when the
    // first or last line holds no date (the nearest dates are taken), or an
    // empty text.
    QString Init();
    // Asks, then writes "Cours.vmq". False when the closing must stop: the
    // user cancelled, or the file could not be written (the error is shown).
    // When another program changed the file since it was read and the user
    // keeps that change, the quotations may go to another file; without one
    // the closing stops.
    bool Sauve();
    // "Valmeq.ini" and the three list files; a file that cannot be read is
    // reported, keeps the defaults and is not written at closing.
    void ChargeIni();
    // Writes each of them; throws the failures together.
    void SauveIni();
    // True when the cards, the press notes or the sites differ from what
    // their file held when read or last written: a failed SauveIni then
    // loses what the user typed.
    bool listsUnsaved() const;
    void GetIni(bool &autoOpen, QString &portfolioPath) const;
    void SetIni(bool autoOpen);
    bool Dedans(const QString &line) const { return period().contains(line); }
    Period period() const;

    // --- The quotation store -------------------------------------------------
    const QuoteLines &store() const { return m_store; }
    const QuoteLines &undo() const;
    // The store becomes these lines, as after a load of them.
    void replaceStore(QuoteLines lines);
    // Forgets the undo copy (as at creation).
    void clearUndo() { setUndo(QuoteLines()); }

    // What changes the store, and what each change does beside it.
    enum class Change {
        Entry,      // leaving the entry page (its copy is taken on entering)
        Correction, // "Modifier ligne"
        Conversion, // franc/euro
        Split,      // "Diviser titre"
        SecurityDeletion,
        LineDeletion,
        Reorganisation,
        SortByName,
        SortByCode,
        Import,
        PortfolioSort, // the valuation's sort: neither copy nor flag
    };
    struct ChangeRule {
        bool undoCopy; // the store before the change becomes the undo copy
        bool modified; // the modified flag is set
    };
    static ChangeRule rule(Change change);
    // Runs `edit` on the store and applies the change's rule. When `edit`
    // throws, the store, the undo copy and the flag are left as they were.
    // True when a code came into the store or left it (the index is then
    // out of date).
    bool change(Change change, const std::function<void(QuoteLines &)> &edit);
    // The same, the edit working on the lines as a list of texts: for small
    // edits, as every line is decoded for it and taken back after.
    bool change(Change change, const std::function<void(QStringList &)> &edit);
    // The same, for an edit that only removes lines and puts in `removed`
    // where they stood, in increasing order: the keys kept beside the store
    // follow, without a line read again.
    bool removeLines(Change change,
                     const std::function<void(QuoteLines &, std::vector<qint32> &removed)> &edit);
    // The same, for an edit that reorders the lines (a sort) and tells the
    // month and code of every line as it leaves them: the keys kept beside
    // the store are built from what it tells instead of from the lines. For
    // a change that keeps an undo copy, the undo copy is let go of first, so
    // that the edit may reorder the lines where they stand; the undo copy is
    // then what `reordered` tells, and built when asked for. The valuation's
    // sort, which leaves the undo copy as it was, reorders the lines where
    // they stand too when the undo copy was the store itself.
    bool changeWithKeys(Change change,
                        const std::function<void(QuoteLines &, const maintenance::KeysOfSorted &,
                                                 maintenance::Reordered *reordered)> &edit);
    // The same, for a change of prices only (a conversion, a split), in two
    // steps: `check` throws what `edit` would refuse, changing nothing; then
    // the undo copy is let go of, and `edit` may write the new prices over
    // the store's bytes, `former` keeping what they held: the undo copy is
    // then the store with those put back, and takes no more memory than
    // them. A change that fails once checked (memory short) leaves the store
    // as it was and the store itself as the undo copy.
    bool changePrices(Change change, const std::function<void(const QuoteLines &)> &check,
                      const std::function<void(QuoteLines &, QuoteLines::Former &)> &edit);
    // The change that appends these lines (an import): the same as through
    // change(), without reading the lines already stored again.
    bool appendLines(Change change, const QuoteLines &lines);
    // The undo copy of the whole store, taken on entering the entry page.
    void takeUndoCopy() { setUndo(m_store); }
    // The store positions of the lines of a month (those that begin with
    // its "yyyymm") and of the lines of a code (characters 10 to 15), inside
    // the period, in store order. A key per line, kept beside the store,
    // spares reading every line's text at each change of month or security.
    QList<qsizetype> monthLines(const QDate &month) const;
    QList<qsizetype> codeLines(const QString &code) const;
    // The first line of each code, in store order, when the code of every
    // line is six digits of the code page (false otherwise): what the index
    // is built from without reading the store again.
    bool firstLineOfEachCode(std::vector<qsizetype> *lines) const;

    // Whether the store is known to be in the valuation's order (whole lines,
    // ignoring case), so that opening it again needs no check of every
    // line; forgotten at every change of the store.
    bool inValuationOrder() const { return m_valuationOrder; }
    void setInValuationOrder() { m_valuationOrder = true; }

    // "Annuler": the store becomes the undo copy, which is kept; the flag
    // stays as it is; the last and current dates follow the store. True when
    // the codes of the store changed.
    bool restoreUndo();

    // --- The other lists -------------------------------------------------------
    // Each list is read here and replaced whole: no caller keeps a reference
    // it could change behind the data's back.
    const QStringList &index() const { return m_index; }
    void setIndex(QStringList index) { m_index = std::move(index); }
    const QStringList &cards() const { return m_cards; }
    void setCards(QStringList cards) { m_cards = std::move(cards); }
    const QStringList &pressNotes() const { return m_press; }
    void setPressNotes(QStringList notes) { m_press = std::move(notes); }
    const QStringList &sites() const { return m_sites; }
    void setSites(QStringList sites) { m_sites = std::move(sites); }
    const QStringList &entryBuffer() const { return m_entryBuffer; }
    void setEntryBuffer(QStringList buffer) { m_entryBuffer = std::move(buffer); }
    const Settings &settings() const { return m_settings; }
    void setSettings(const Settings &settings) { m_settings = settings; }

    // --- The portfolio ---------------------------------------------------------
    const QStringList &portfolio() const { return m_portfolio; }
    // The path the portfolio is read from and written to: the settings' path,
    // a relative one taken in the start directory; empty for a new one.
    QString resolvedPortfolioPath() const;
    // An empty portfolio without a file, not modified.
    void newPortfolio();
    // Reads the portfolio file, a relative path taken in the start directory
    // (a few megabytes at most, as the settings and lists).
    // The path is kept even when the file cannot be read (the error is
    // thrown), but such a portfolio is never written over.
    void loadPortfolio(const QString &path);
    // Writes the portfolio to `path`, which becomes its path; the portfolio is
    // then not modified. Throws the system's error, the former file intact.
    // When another program changed the file since it was read and the user
    // keeps that change, the portfolio may go to another file instead, which
    // becomes its path; without one nothing is written and it throws.
    void savePortfolio(const QString &path);
    // True when the portfolio has a path it may be written to: one was given,
    // and its file was read whole.
    bool portfolioWritable() const
    {
        return !m_settings.portfolioPath.isEmpty() && !m_portfolioUnreadable;
    }
    // Appends operation lines; the portfolio is then modified.
    void addOperations(const QStringList &lines);
    // The portfolio becomes these lines, as after a load of them.
    void replacePortfolio(QStringList lines);
    // The portfolio becomes these lines, edited by a window: it is then
    // modified.
    void changePortfolio(QStringList lines);

    // --- Values ------------------------------------------------------------------
    QDate currentMonth() const { return m_month; }
    void setCurrentMonth(const QDate &d) { m_month = d; }
    QDate firstDate() const { return m_first; }
    QDate lastDate() const { return m_last; }
    void setPeriod(int mode, const QDate &first, const QDate &last);
    // First and last date from the store's first and last lines.
    void resetPeriodDates();
    int periodMode() const { return m_periodMode; }
    int currentSecurity() const { return m_security; }
    void setCurrentSecurity(int s) { m_security = s; }
    // The code of the current security; empty when it is not in the index.
    QString currentCode() const;
    bool isModified() const { return m_modified; }
    bool portfolioModified() const { return m_portfolioModified; }
    QString portfolioPath() const { return m_settings.portfolioPath; }
    int sitePosition() const { return m_sitePos; }
    void setSitePosition(int p) { m_sitePos = p; }

    // The date of the first (or last) line; when it holds none, the nearest
    // line's, with `bad` the position of the first line without a date.
    static QDate storeDate(const QuoteLines &store, bool last, qsizetype *bad);

signals:
    // The modified flag of the store or of the portfolio changed.
    void modifiedChanged();

private:
    // Says modifiedChanged when either flag differs from what it last said.
    void flagsMayHaveChanged();

    // The lines of each month ("yyyymm" as a number, counted from the
    // first month of the store) and of each code (a six-digit code as its
    // number, another code as a number from a million up), in store order.
    // A group holds the gaps between its lines, 7 bits a byte, the high bit
    // saying another byte follows: a month's lines mostly follow each other
    // (a byte a line), a code's lie a day apart (two bytes).
    struct Groups {
        struct Group {
            std::vector<quint8> gaps;
            qint32 first = -1; // the first line
            qint32 last = -1;  // the last line
            qint32 count = 0;
            // The group once the lines at `removed` (in increasing order)
            // are gone from the store, and the lines after them moved up.
            Group without(const std::vector<qint32> &removed) const;
            // Calls `line(i)` for each line, in order.
            template <typename Line> void forEach(Line line) const
            {
                qint32 at = -1;
                const quint8 *p = gaps.data(), *end = p + gaps.size();
                while (p < end) {
                    at += qint32(varint::read(p));
                    line(at);
                }
            }
        };
        std::vector<qint32> groupOf; // by key: its group, or -1
        std::vector<Group> groups;
        // Adds the lines `from`, `from` + 1... of these `n` keys (-1: none)
        // after those grouped already, which have lower numbers.
        void add(const qint32 *keys, qsizetype n, qint32 from);
        const Group *of(qint32 key) const
        {
            if (key < 0 || size_t(key) >= groupOf.size() || groupOf[size_t(key)] < 0)
                return nullptr;
            return &groups[size_t(groupOf[size_t(key)])];
        }
        qsizetype count(qint32 key) const { return of(key) ? of(key)->count : 0; }
        // The groups once the lines at `removed` are gone, in the order of
        // their first lines; a group left empty is gone.
        Groups without(const std::vector<qint32> &removed) const;
    };
    struct LineKeys {
        qint32 firstMonth = 0;
        // Lines whose code was not read as six digits from their bytes.
        qsizetype codesByText = 0;
        Groups byMonth;
        Groups byCode;
    };
    const LineKeys &keys() const;
    // The month and code keys of the lines from `from` to `to`.
    void lineKeys(const QuoteLines &store, qsizetype from, qsizetype to,
                  std::vector<qint32> &months, std::vector<qint32> &codes) const;
    static constexpr qint32 kByText = -2; // a key to be read from the line's text
    // The keys marked kByText of the lines from `from` on, read from their text.
    void keysByText(const QuoteLines &store, qsizetype from, std::vector<qint32> &months,
                    std::vector<qint32> &codes) const;
    // Groups the lines of `store` (the store, or the lines being read into
    // it) from `from` on after those grouped already.
    void keyLines(const QuoteLines &store, qsizetype from) const;
    static constexpr qsizetype kKeysAtOnce = 1 << 18;
    // Groups the lines of these keys, from `from` on.
    void groupLines(qsizetype from, std::vector<qint32> &months,
                    const std::vector<qint32> &codes) const;
    qint32 codeKey(QStringView code, bool add) const;
    // `keysHold`: the lines' dates and codes stay at their places.
    void storeChanged(bool keysHold = false)
    {
        m_valuationOrder = false;
        if (keysHold) return;
        m_keysValid = false;
        m_keys = LineKeys(); // rebuilt when next read: its memory is free meanwhile
        m_otherCodes.clear();
    }

    // The settings file and the three list files, with the lines each gets.
    std::vector<std::pair<QString, QStringList>> settingsFiles() const;

    static bool sameCodes(const QuoteLines &a, const QuoteLines &b);
    // The codes of keys of six-digit codes only, in order.
    static std::vector<qint32> sixDigitCodes(const LineKeys &keys);
    // change(), with the keys of the lines after told from those before by
    // `keysAfter` (when they were known, every code six digits), or read
    // from the lines when it gives none.
    bool change(Change change, const std::function<void(QuoteLines &)> &edit,
                const std::function<std::optional<LineKeys>(const LineKeys &)> &keysAfter);
    // A change that reorders the lines, and keeps an undo copy or leaves it
    // as it was (see changeWithKeys).
    bool changeOrder(Change change,
                     const std::function<void(QuoteLines &, maintenance::Reordered &)> &edit);
    // The undo copy, with the keys of its lines when they are known.
    void setUndo(QuoteLines undo, std::optional<LineKeys> keys = std::nullopt);
    // An undo copy kept as what a change wrote over, or as where a sort took
    // each line from, becomes a copy of its own, before a change that keeps
    // the undo copy changes the store.
    void undoAsCopy() const;
    // True when the file may be written: unchanged since `stamp`, or the
    // user agrees to write over the other program's change.
    bool mayOverwrite(const QString &path, const FileStamp &stamp, qint64 limit) const;

    QString m_dir;
    std::unique_ptr<DirLock> m_lock;
    bool m_readOnly = false;
    // What each file of the start directory held when read or last written.
    QHash<QString, FileStamp> m_stamps;
    // The same for the portfolio, with the file it is of.
    FileStamp m_portfolioStamp;
    QString m_portfolioFile;
    QWidget *m_promptParent = nullptr;
    // Files that exist but could not be read at start: never written over.
    QSet<QString> m_unreadable;
    // The lines of each settings or list file, as read or last written
    // (absent: the file was not there).
    QHash<QString, QStringList> m_settingsOnDisk;

    // The eight lists.
    QuoteLines m_store;
    mutable QuoteLines m_undo;
    // Or, when a change wrote over the store's bytes, what they held: the
    // store is then as the change left it.
    mutable std::optional<QuoteLines::Former> m_undoFormer;
    // Or, when a sort reordered the lines where they stood, where each line
    // came from (see maintenance::Reordered).
    mutable QByteArray m_undoOrder;
    // The keys of the undo copy's lines, taken from the store with it when
    // every code was six digits: an undo then reads no line.
    LineKeys m_undoKeys;
    bool m_undoKeysValid = false;
    QStringList m_index;
    QStringList m_cards;
    QStringList m_portfolio;
    QStringList m_press;
    QStringList m_sites;
    QStringList m_entryBuffer;

    // Values.
    QDate m_month{1998, 1, 1};
    QDate m_first;
    QDate m_last;
    int m_periodMode = 0;
    int m_security = 0;
    bool m_modified = false;
    Settings m_settings;
    int m_sitePos = 0;
    bool m_portfolioModified = false;
    // The portfolio file exists but could not be read: never written over.
    bool m_portfolioUnreadable = false;

    mutable LineKeys m_keys;
    mutable QHash<QString, qint32> m_otherCodes;
    mutable bool m_keysValid = false;
    bool m_valuationOrder = false;
    std::pair<bool, bool> m_saidFlags{false, false};
};
