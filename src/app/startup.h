#pragma once

// What main() does before the first window: the command line, read before
// any display is needed, and the start directory, chosen and filled from the
// installed demo on the first start. Header only: the program and its tests
// include it.

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#ifndef VALMEQ_VERSION
#error "VALMEQ_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace startup
{

// Exit statuses of the program, as the manual page lists them.
enum ExitStatus { Success = 0, Failure = 1, UsageError = 2 };

enum class Action { Run, Version, Help, Error };

struct Options {
    Action action = Action::Run;
    // --essai: start, load the data, show the main window, then quit.
    bool trial = false;
    // For Action::Error: what was wrong, in French, without the usage.
    QString error;
};

inline QString versionText()
{
    return QStringLiteral("Valmeq " VALMEQ_VERSION "\n");
}

inline QString usageText()
{
    return QStringLiteral(
        "Usage : valmeq [OPTION]\n"
        "Cours de bourse, graphiques et portefeuille.\n"
        "\n"
        "  --essai      démarre, charge les données, affiche la fenêtre puis quitte\n"
        "  -h, --help   affiche cette aide et quitte\n"
        "  --version    affiche la version et quitte\n"
        "\n"
        "Les données se trouvent dans le répertoire de démarrage : $VALMEQ_HOME\n"
        "s'il est défini, sinon ~/.local/share/Valmeq, rempli avec la démonstration\n"
        "au premier démarrage. Voir man valmeq.\n");
}

// `arguments` without the program's name. --help and --version win over
// what follows them, as in most programs; the first wrong argument ends the
// reading.
inline Options parse(const QStringList &arguments)
{
    Options options;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.action = Action::Help;
            return options;
        }
        if (argument == QLatin1String("--version")) {
            options.action = Action::Version;
            return options;
        }
        if (argument == QLatin1String("--essai")) {
            options.trial = true;
            continue;
        }
        options.action = Action::Error;
        options.error = argument.startsWith(QLatin1Char('-'))
                            ? QStringLiteral("option inconnue : %1").arg(argument)
                            : QStringLiteral("argument inattendu : %1").arg(argument);
        return options;
    }
    return options;
}

// The demo start directory of an installed program, `<prefix>/share/valmeq/demo`
// beside `<prefix>/bin`; empty for a program of the build tree.
inline QString installedDemo(const QString &programDir)
{
    const QString demo = QDir::cleanPath(programDir + QStringLiteral("/../share/valmeq/demo"));
    return QFileInfo(demo).isDir() ? demo : QString();
}

// The start directory of an installed program: $VALMEQ_HOME when set (taken
// from the current directory when relative), otherwise Valmeq in the user's
// data directory (~/.local/share). A program of the build tree starts in the
// current directory, the one ./run.sh chose for it.
inline QString chooseStartDir(bool installed, const QString &valmeqHome, const QString &dataHome,
                              const QString &current)
{
    if (!installed) return current;
    if (!valmeqHome.isEmpty()) return QDir::cleanPath(QDir(current).absoluteFilePath(valmeqHome));
    return QDir::cleanPath(dataHome + QStringLiteral("/Valmeq"));
}

namespace detail
{
inline bool copyTree(const QDir &from, const QDir &to)
{
    const auto entries =
        from.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        const QString target = to.filePath(entry.fileName());
        if (entry.isDir()) {
            if (!to.mkdir(entry.fileName()) || !copyTree(QDir(entry.filePath()), QDir(target)))
                return false;
        } else {
            if (!QFile::copy(entry.filePath(), target)) return false;
            // The installed files are read-only for the user; the copies are theirs.
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
        }
    }
    return true;
}
} // namespace detail

// Makes sure `dir` exists. A directory made here is filled with the files of
// `demo` (when given), copied whole into a temporary directory beside it and
// then renamed, so that a copy cut short leaves no half-filled start
// directory; it keeps the temporary directory's permissions (0700): it
// holds the user's portfolio. An existing directory is left as it is.
// Returns false with a French message in `error` when the directory cannot
// be had.
inline bool prepareStartDir(const QString &dir, const QString &demo, QString *error)
{
    const QFileInfo info(dir);
    const QString shown = QDir::toNativeSeparators(dir);
    if (info.isDir()) return true;
    if (info.exists()) {
        *error = QStringLiteral("%1 existe et n'est pas un répertoire.").arg(shown);
        return false;
    }
    const QString parent = info.absolutePath();
    if (!QDir().mkpath(parent)) {
        *error =
            QStringLiteral("Ne peut créer le répertoire %1.").arg(QDir::toNativeSeparators(parent));
        return false;
    }
    QTemporaryDir work(parent + QStringLiteral("/.") + info.fileName() + QStringLiteral("-XXXXXX"));
    if (!work.isValid()) {
        *error = QStringLiteral("Ne peut créer le répertoire %1.").arg(shown);
        return false;
    }
    if (!demo.isEmpty() && !detail::copyTree(QDir(demo), QDir(work.path()))) {
        *error = QStringLiteral("Ne peut copier la démonstration %1 dans %2.")
                     .arg(QDir::toNativeSeparators(demo), shown);
        return false;
    }
    if (!QDir().rename(work.path(), dir)) {
        // Another Valmeq may have made it meanwhile: that one is as good.
        if (QFileInfo(dir).isDir()) return true;
        *error = QStringLiteral("Ne peut créer le répertoire %1.").arg(shown);
        return false;
    }
    work.setAutoRemove(false);
    return true;
}

} // namespace startup
