#include "portfolio/portfolio.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/records.h"
#include "quotes/store.h"

#include <vector>

namespace ptf
{

namespace
{

VError lineError(qsizetype number, const QString &message)
{
    return VError(QStringLiteral("Ligne %1 du portefeuille : %2").arg(number).arg(message));
}

// The price field of a quotation line (after the third tab).
QString priceText(const QString &line)
{
    qsizetype from = 0, to = 0;
    if (!quote::priceField(line, &from, &to)) return {};
    return line.mid(from, to - from);
}

} // namespace

QList<Operation> readOperations(const QStringList &portfolio)
{
    QList<Operation> ops;
    ops.reserve(portfolio.size());
    for (qsizetype i = 0; i < portfolio.size(); ++i) {
        const QString &line = portfolio[i];
        if (line.count(QLatin1Char('\t')) < 4 || line.size() < 9)
            throw lineError(i + 1, QStringLiteral("il manque des champs"));
        Operation op;
        op.kind = line[0];
        if (op.kind != QLatin1Char('A') && op.kind != QLatin1Char('V') &&
            op.kind != QLatin1Char('D'))
            throw lineError(i + 1, QStringLiteral("'%1' n'est pas une opération").arg(op.kind));
        QString rest = line.mid(1, 1024);
        op.date = nextField(rest);
        op.code = nextField(rest);
        op.amount = nextField(rest);
        op.quantity = nextField(rest);
        op.fifth = nextField(rest);
        if (!tryReadDecimal(op.amount, &op.amountValue))
            throw lineError(i + 1, VError::badFloat(op.amount).message());
        if (!tryReadInteger(op.quantity, &op.quantityValue))
            throw lineError(i + 1, VError::badInteger(op.quantity).message());
        ops.append(op);
    }
    return ops;
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
        if (c.size() != 6 || wanted.contains(c)) continue;
        const int key = digitKey(c.constData());
        if (key >= 0)
            slot[size_t(key)] = qint32(found.size());
        else
            others.insert(c, qint32(found.size()));
        wanted.append(c);
        found.append(-1);
    }
    if (wanted.isEmpty()) return;
    QuoteLines::Buffer codeText, dateText, foundDate;
    for (qsizetype i = 0; i < store.size(); ++i) {
        if (i + QuoteLines::kAhead < store.size()) store.prefetch(i + QuoteLines::kAhead);
        if (store.length(i) < 15) continue;
        // A code of six digits is the same in bytes as in characters.
        int key = 0;
        if (!store.isAside(i)) {
            const QByteArrayView bytes = store.bytes(i);
            for (int k = 9; key >= 0 && k < 15; ++k)
                key = bytes[k] >= '0' && bytes[k] <= '9' ? key * 10 + (bytes[k] - '0') : -1;
        } else {
            key = digitKey(store.mid(i, 9, 6, codeText).data());
        }
        qint32 w = -1;
        if (key >= 0)
            w = slot[size_t(key)];
        else if (!others.isEmpty())
            w = others.value(store.mid(i, 9, 6, codeText).toString(), -1);
        if (w < 0) continue;
        qsizetype &at = found[w];
        if (at < 0 || store.mid(i, 0, 8, dateText) >= store.mid(at, 0, 8, foundDate)) at = i;
    }
    for (qsizetype w = 0; w < wanted.size(); ++w)
        if (found[w] >= 0) {
            QString p = priceText(store.at(found[w]));
            if (p.isNull()) p = QLatin1String("");
            m_prices.insert(wanted[w], p);
        }
}

QString LastPrices::price(const QString &code) const
{
    return m_prices.value(code);
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

QList<QStringList> journalRows(const QList<Operation> &ops, const SecurityNames &names, int year)
{
    const QString y = QString::number(year);
    QList<QStringList> rows;
    for (const Operation &op : ops)
        if (op.date.left(4) == y) rows.append(listRow(op, names, op.amount));
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
