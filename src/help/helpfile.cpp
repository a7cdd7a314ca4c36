#include "help/helpfile.h"

#include "base/errors.h"
#include "base/textfile.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

bool HelpFile::load(const QString &path, QString *error)
{
    try {
        parse(QString::fromUtf8(readBytes(path, kLimit)));
    } catch (const VError &e) {
        if (error) *error = e.message();
        return false;
    }
    return true;
}

void HelpFile::parse(const QString &text)
{
    m_pages.clear();
    static const QRegularExpression marker(QStringLiteral("<!--\\s*page\\s+(.*?)-->"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression attribute(QStringLiteral("([^\\s=]+)\\s*=\\s*\"([^\"]*)\""));
    QList<QRegularExpressionMatch> marks;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        marks.append(it.next());
    for (int i = 0; i < marks.size(); ++i) {
        const qsizetype start = marks[i].capturedEnd();
        const qsizetype end = i + 1 < marks.size() ? marks[i + 1].capturedStart() : text.size();
        Page p;
        for (auto it = attribute.globalMatch(marks[i].captured(1)); it.hasNext();) {
            const auto a = it.next();
            const QString name = a.captured(1);
            const QString value = a.captured(2).trimmed();
            if (name == QLatin1String("id"))
                p.id = value;
            else if (name == QLatin1String("titre"))
                p.title = value;
            else if (name == QStringLiteral("contexte")) {
                for (const QString &n : value.split(QRegularExpression(QStringLiteral("[\\s,;]+")),
                                                    Qt::SkipEmptyParts))
                    if (bool ok = false; n.toInt(&ok), ok) p.contexts.append(n.toInt());
            } else if (name == QStringLiteral("mots-clés")) {
                for (const QString &k : value.split(QLatin1Char(';'), Qt::SkipEmptyParts))
                    if (!k.trimmed().isEmpty()) p.keywords.append(k.trimmed());
            }
        }
        p.html = text.mid(start, end - start).trimmed();
        if (p.title.isEmpty()) p.title = p.id;
        if (!p.id.isEmpty()) m_pages.append(p);
    }
}

const HelpFile::Page *HelpFile::page(const QString &id) const
{
    for (const Page &p : m_pages)
        if (p.id == id) return &p;
    return nullptr;
}

const HelpFile::Page *HelpFile::contents() const
{
    if (const Page *p = page(QStringLiteral("sommaire"))) return p;
    return m_pages.isEmpty() ? nullptr : &m_pages.first();
}

const HelpFile::Page *HelpFile::usingHelp() const
{
    return page(QStringLiteral("utiliser-aide"));
}

const HelpFile::Page *HelpFile::context(int number) const
{
    for (const Page &p : m_pages)
        if (p.contexts.contains(number)) return &p;
    return contents();
}

QStringList HelpFile::keywords() const
{
    QStringList out;
    for (const Page &p : m_pages)
        for (const QString &k : p.keywords)
            if (!out.contains(k, Qt::CaseInsensitive)) out.append(k);
    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(out.begin(), out.end(),
              [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return out;
}

QList<const HelpFile::Page *> HelpFile::pagesFor(const QString &keyword) const
{
    QList<const Page *> out;
    for (const Page &p : m_pages)
        if (p.keywords.contains(keyword.trimmed(), Qt::CaseInsensitive)) out.append(&p);
    return out;
}

QStringList HelpFile::candidates(const QString &startDir, const QString &programDir)
{
    const QString name = QStringLiteral("Valmeq.hlp");
    QStringList out{QDir(startDir).filePath(name)};
    const QString sub = QStringLiteral("valmeq/") + name;
    // The prefix the program is installed in first, then the system's.
    out.append(QDir::cleanPath(programDir + QStringLiteral("/../share/") + sub));
    for (const QString &dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString p = QDir(dir).filePath(sub);
        if (!out.contains(p)) out.append(p);
    }
    out.append(QDir(programDir).filePath(name));
    return out;
}

QString HelpFile::locate(const QString &startDir, const QString &programDir)
{
    for (const QString &p : candidates(startDir, programDir))
        if (QFileInfo(p).isFile()) return p;
    return {};
}
