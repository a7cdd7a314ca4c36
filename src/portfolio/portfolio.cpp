#include "portfolio/portfolio.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/parallel.h"
#include "base/records.h"
#include "base/textfile.h"
#include "quotes/store.h"

#include <vector>

namespace ptf
{

namespace
{

// The price field of a quotation line (after the third tab).
QString priceText(const QString &line)
{
    qsizetype from = 0, to = 0;
    if (!quote::priceField(line, &from, &to)) return {};
    return line.mid(from, to - from);
}

} // namespace

Reading readPortfolio(const QStringList &portfolio)
{
    Reading r;
    r.ops.reserve(portfolio.size());
    for (qsizetype i = 0; i < portfolio.size(); ++i) {
        const QString &line = portfolio[i];
        if (line.trimmed().isEmpty()) continue;
        const auto refuse = [&](const QString &reason) { r.unreadable.append({i, line, reason}); };
        if (line.count(QLatin1Char('\t')) < 4 || line.size() < 9) {
            refuse(QStringLiteral("il manque des champs"));
            continue;
        }
        Operation op;
        op.line = i;
        op.kind = line[0];
        if (op.kind != QLatin1Char('A') && op.kind != QLatin1Char('V') &&
            op.kind != QLatin1Char('D')) {
            refuse(QStringLiteral("'%1' n'est pas une op\u00e9ration").arg(op.kind));
            continue;
        }
        QString rest = line.mid(1, 1024);
        op.date = nextField(rest);
        op.code = nextField(rest);
        op.amount = nextField(rest);
        op.quantity = nextField(rest);
        op.fifth = nextField(rest);
        if (op.date.size() != 8 || !storedToDate(op.date).isValid())
            refuse(VError::badDate(op.date).message());
        else if (!tryReadDecimal(op.amount, &op.amountValue))
            refuse(VError::badFloat(op.amount).message());
        else if (!tryReadInteger(op.quantity, &op.quantityValue))
            refuse(VError::badInteger(op.quantity).message());
        else {
            if (!tryReadDecimal(op.fifth, &op.fifthValue)) op.fifthValue = 0;
            r.ops.append(op);
        }
    }
    return r;
}

QList<Operation> readOperations(const QStringList &portfolio)
{
    return readPortfolio(portfolio).ops;
}

QString unreadableReport(const QList<Unreadable> &lines)
{
    QStringList said;
    for (const Unreadable &u : lines) {
        if (said.size() == 10) {
            said.append(
                QStringLiteral("... et %1 autres lignes illisibles.").arg(lines.size() - 10));
            break;
        }
        QString text = QString(u.text).replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (text.size() > 60) text = text.left(60) + QStringLiteral("...");
        said.append(
            QStringLiteral("Ligne %1 illisible : %2 (%3)").arg(u.line + 1).arg(text, u.reason));
    }
    return said.join(QLatin1Char('\n'));
}

QString figureRefusal(const QString &field, const QString &text, Figure figure)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return QStringLiteral("%1 : le champ est vide.").arg(field);
    int digits = 0, commas = 0;
    for (const QChar c : t) {
        if (c.isDigit() && c.unicode() < 0x80)
            ++digits;
        else if (figure == Figure::Amount && (c == QLatin1Char(',') || c == QLatin1Char('.')))
            ++commas;
        else
            commas = 2;
    }
    if (digits > 0 && commas <= 1) return {};
    return figure == Figure::Amount
               ? QStringLiteral("%1 : '%2' n'est pas un nombre.").arg(field, t)
               : QStringLiteral("%1 : '%2' n'est pas un nombre entier.").arg(field, t);
}

qint64 heldQuantity(const QList<Operation> &ops, const QString &code, qsizetype except)
{
    qint64 held = 0;
    for (const Operation &op : ops) {
        if (op.line == except || op.code != code) continue;
        if (op.kind == QLatin1Char('A')) held += op.quantityValue;
        if (op.kind == QLatin1Char('V')) held -= op.quantityValue;
    }
    return held;
}

QList<Warning> recordWarnings(QChar kind, const QString &code, qint64 quantity,
                              const QStringList &index, const QList<Operation> &ops,
                              qsizetype except)
{
    QList<Warning> questions;
    if (kind == QLatin1Char('V') || kind == QLatin1Char('E')) {
        const qint64 held = heldQuantity(ops, code, except);
        if (quantity > held) {
            const QString verb = kind == QLatin1Char('V') ? QStringLiteral("vendez")
                                                          : QStringLiteral("\u00e9changez");
            const QString having = held > 0
                                       ? QStringLiteral("et n'en d\u00e9tenez que %1").arg(held)
                                       : QStringLiteral("et n'en d\u00e9tenez aucun");
            questions.append(
                {QStringLiteral("Vous %1 %2 titres %3 %4. Enregistrer quand m\u00eame ?")
                     .arg(verb)
                     .arg(quantity)
                     .arg(code, having),
                 true});
        }
    }
    if (kind != QLatin1Char('E') && !SecurityNames(index).contains(code))
        questions.append(
            {QStringLiteral("Le code %1 n'est pas dans la base. Enregistrer quand m\u00eame ?")
                 .arg(code),
             false});
    return questions;
}

int journalYear(const QList<Operation> &ops, int currentYear)
{
    QString newest;
    const QString current = QString::number(currentYear);
    for (const Operation &op : ops) {
        if (op.date.left(4) == current) return currentYear;
        newest = std::max(newest, op.date);
    }
    return newest.isEmpty() ? currentYear : newest.left(4).toInt();
}

QString operationText(const QDate &date, const QString &code, const QString &amount,
                      const QString &quantity, const QString &fifth)
{
    const QChar tab = QLatin1Char('\t');
    QString text = toStored(date) + tab + code;
    for (const QString &field : {amount, quantity, fifth}) {
        const QString trimmed = field.trimmed();
        if (trimmed.isEmpty()) return {};
        text += tab + trimmed;
    }
    return text;
}

QString codeRefusal(const QString &field, const QString &code)
{
    if (code.size() >= 6) return {};
    return QStringLiteral("%1 : le code \u00ab %2 \u00bb est trop court, un code a six "
                          "caract\u00e8res.")
        .arg(field, code);
}

QString textRefusal(const QString &field, const QString &text)
{
    const QStringList named = records::unstorable(text);
    if (named.isEmpty()) return {};
    QString shown = records::field(text).simplified();
    if (shown.size() > 40) shown = shown.left(40) + QStringLiteral("...");
    return QStringLiteral("%1 : le texte \u00ab %2 \u00bb contient ce que le fichier du "
                          "portefeuille ne peut pas enregistrer : %3")
        .arg(field, shown, named.join(QStringLiteral(", ")));
}

QString pathRefusal(const QString &path)
{
    const QStringList named = records::unstorable(path);
    if (named.isEmpty()) return {};
    return QStringLiteral("Le nom de fichier \u00ab %1 \u00bb contient ce que le fichier "
                          "Valmeq.ini ne peut pas enregistrer : %2")
        .arg(records::field(path), named.join(QStringLiteral(", ")));
}

bool lastPrice(const QuoteLines &store, const QString &code, QString *price)
{
    const LastPrices prices(store, {code});
    const QString found = prices.price(code);
    // A quotation whose price field is empty still counts as found.
    if (found.isNull()) return false;
    *price = found;
    return true;
}

namespace
{

// A code of six digits as a number, or -1.
int digitKey(const QChar *c)
{
    int key = 0;
    for (int i = 0; i < 6; ++i) {
        const char16_t d = c[i].unicode();
        if (d < u'0' || d > u'9') return -1;
        key = key * 10 + (d - u'0');
    }
    return key;
}

} // namespace

LastPrices::LastPrices(const QuoteLines &store, const QStringList &codes)
{
    // The newest line of each wanted code: codes of six digits in a flat
    // table, the others in a hash.
    std::vector<qint32> slot(1000000, -1); // digit code -> index in `found`
    QHash<QString, qint32> others;
    QList<qsizetype> found;
    QStringList wanted;
    for (const QString &c : codes) {
        if (c.size() != 6) continue;
        const int key = digitKey(c.constData());
        if (key >= 0 ? slot[size_t(key)] >= 0 : others.contains(c)) continue;
        if (key >= 0)
            slot[size_t(key)] = qint32(found.size());
        else
            others.insert(c, qint32(found.size()));
        wanted.append(c);
        found.append(-1);
    }
    if (wanted.isEmpty()) return;
    // Whether line i is as new as line `at` or newer: their dates compared as
    // texts (on the bytes, as their characters compare).
    auto newer = [&store](qsizetype i, qsizetype at, QuoteLines::Buffer &a, QuoteLines::Buffer &b) {
        if (store.isAside(i) || store.isAside(at))
            return store.mid(i, 0, 8, a) >= store.mid(at, 0, 8, b);
        const char *x = store.bytes(i).data(), *y = store.bytes(at).data();
        int k = 0;
        while (k < 8 && x[k] == y[k])
            ++k;
        return k == 8 || windows1252Char(uchar(x[k])) > windows1252Char(uchar(y[k]));
    };
    // Each core scans its part of the store; the parts are then taken in
    // order, a later one's line winning when it is as new, as in one pass.
    const qsizetype n = store.size();
    const int parts = parallel::parts(n, 1 << 16);
    std::vector<std::vector<qsizetype>> foundIn(size_t(parts),
                                                std::vector<qsizetype>(size_t(found.size()), -1));
    parallel::onThreads(parts, [&](int part) {
        const qsizetype begin = n * part / parts, end = n * (part + 1) / parts;
        std::vector<qsizetype> &mine = foundIn[size_t(part)];
        QuoteLines::Buffer codeText, dateText, foundDate;
        for (qsizetype i = begin; i < end; ++i) {
            if (i + QuoteLines::kAhead < end) store.prefetch(i + QuoteLines::kAhead);
            if (store.length(i) < 15) continue;
            // A code of six digits is the same in bytes as in characters.
            const int key = store.isAside(i) ? digitKey(store.mid(i, 9, 6, codeText).data())
                                             : quote::sixDigits(store.bytes(i).sliced(9, 6));
            qint32 w = -1;
            if (key >= 0)
                w = slot[size_t(key)];
            else if (!others.isEmpty())
                w = others.value(store.mid(i, 9, 6, codeText).toString(), -1);
            if (w < 0) continue;
            qsizetype &at = mine[size_t(w)];
            if (at < 0 || newer(i, at, dateText, foundDate)) at = i;
        }
    });
    QuoteLines::Buffer dateText, foundDate;
    for (const std::vector<qsizetype> &part : foundIn)
        for (qsizetype w = 0; w < wanted.size(); ++w) {
            const qsizetype at = part[size_t(w)];
            if (at >= 0 && (found[w] < 0 || newer(at, found[w], dateText, foundDate)))
                found[w] = at;
        }
    for (qsizetype w = 0; w < wanted.size(); ++w)
        if (found[w] >= 0) {
            const QString line = store.at(found[w]);
            QString p = priceText(line);
            if (p.isNull()) p = QLatin1String("");
            m_prices.insert(wanted[w], p);
            m_dates.insert(wanted[w], line.left(8));
        }
}

QString LastPrices::price(const QString &code) const
{
    return m_prices.value(code);
}

QString LastPrices::date(const QString &code) const
{
    return m_dates.value(code);
}

std::pair<QString, QString> exchangeParts(const QDate &date, const QString &codeOut,
                                          const QString &codeIn, const QString &quantityOut,
                                          const QString &quantityIn, const QString &soulte,
                                          const QString &fees, const QuoteLines &store)
{
    const QChar tab = QLatin1Char('\t');
    const QString stored = toStored(date);
    QString sale = stored + tab + codeOut;
    const QString soulteText = soulte.trimmed();
    if (soulteText.isEmpty()) return {};
    QString priceOut;
    lastPrice(store, codeOut, &priceOut);
    const qint64 qtyOut = readInteger(quantityOut.trimmed());
    const double pOut = readDecimal(priceOut);
    const double s = readDecimal(soulteText);
    sale += tab + formatAmount(s + double(qtyOut) * pOut);
    sale += tab + quantityOut.trimmed();
    const QString feesText = fees.trimmed();
    if (feesText.isEmpty()) return {};
    sale += tab + feesText;

    QString priceIn;
    lastPrice(store, codeIn, &priceIn);
    const qint64 qtyIn = readInteger(quantityIn.trimmed());
    const double pIn = readDecimal(priceIn);
    const QString purchase = stored + tab + codeIn + tab + formatAmount(double(qtyIn) * pIn) + tab +
                             quantityIn.trimmed() + tab + QLatin1Char('0');
    return {sale, purchase};
}

SecurityNames::SecurityNames(const QStringList &index)
{
    m_names.reserve(index.size());
    for (const QString &entry : index) {
        const QString code = entry.left(6);
        if (!m_names.contains(code)) m_names.insert(code, entry.mid(6, 255));
    }
}

QString SecurityNames::NomTitre(const QString &code) const
{
    if (code.size() != 6) return {};
    return m_names.value(code);
}

QString capitalised(const QString &name)
{
    if (name.isEmpty()) return name;
    return name.left(1).toUpper() + name.mid(1, 244).toLower();
}

namespace
{

QStringList listRow(const Operation &op, const SecurityNames &names, const QString &figure)
{
    const QString name = names.NomTitre(op.code);
    return {storedToShown(op.date), op.code, name.isEmpty() ? op.code : name, figure, op.quantity,
            QString(op.kind)};
}

} // namespace

QList<QStringList> journalRows(const QList<Operation> &ops, const SecurityNames &names, int year,
                               QList<qsizetype> *lines)
{
    const QString y = QString::number(year);
    QList<QStringList> rows;
    if (lines) lines->clear();
    for (const Operation &op : ops)
        if (op.date.left(4) == y) {
            rows.append(listRow(op, names, op.amount));
            if (lines) lines->append(op.line);
        }
    return rows;
}

QList<QStringList> feeRows(const QList<Operation> &ops, const SecurityNames &names)
{
    QList<QStringList> rows;
    rows.reserve(ops.size());
    for (const Operation &op : ops)
        rows.append(listRow(op, names, op.fifth));
    return rows;
}

QString cessions(const QList<QStringList> &rows)
{
    double sum = 0;
    for (const QStringList &row : rows)
        if (row.value(5) == QLatin1String("V")) sum += readDecimal(row.value(3));
    return formatAmount(sum);
}

} // namespace ptf
