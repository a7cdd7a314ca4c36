#include "exchange/exporting.h"

#include "base/textfile.h"

#include <QAbstractItemModel>

namespace exporting
{

QStringList lines(const QAbstractItemModel &list)
{
    QStringList out;
    const int rows = list.rowCount();
    out.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QString line;
        for (int c = 0; c < 5; ++c) {
            if (c > 0) line += QLatin1Char('\t');
            line += list.data(list.index(r, c), Qt::DisplayRole).toString();
        }
        out.append(line);
    }
    return out;
}

Options spreadsheet()
{
    return {QLatin1Char(';'), true, true};
}

QByteArray bytes(const QAbstractItemModel &list, const Options &options)
{
    QString text;
    auto addLine = [&](const QStringList &fields) {
        for (qsizetype c = 0; c < fields.size(); ++c) {
            if (c > 0) text += options.separator;
            QString field = fields.at(c);
            if (field.contains(options.separator) || field.contains(QLatin1Char('"')))
                field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                        QLatin1Char('"');
            text += field;
        }
        text += QStringLiteral("\r\n");
    };
    if (options.heading)
        addLine({QStringLiteral("Date"), QStringLiteral("Code"), QStringLiteral("Nom"),
                 QStringLiteral("Cours"), QStringLiteral("Volume")});
    for (int r = 0; r < list.rowCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < 5; ++c)
            fields.append(list.data(list.index(r, c), Qt::DisplayRole).toString());
        addLine(fields);
    }
    if (options.utf8) return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    return encodeWindows1252(text);
}

} // namespace exporting
