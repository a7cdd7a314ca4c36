#include "base/errors.h"

#include <cerrno>

VError VError::badDate(const QString &text)
{
    return VError(QStringLiteral("'%1' n'est pas une date correcte").arg(text));
}

VError VError::badFloat(const QString &text)
{
    return VError(QStringLiteral("'%1' n'est pas une valeur flottante correcte").arg(text));
}

VError VError::badInteger(const QString &text)
{
    return VError(QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(text));
}

VError VError::cannotOpen(const QString &file)
{
    return VError(QStringLiteral("Ne peut ouvrir le fichier %1").arg(file));
}

VError VError::cannotCreate(const QString &file)
{
    return VError(QStringLiteral("Ne peut créer le fichier %1").arg(file));
}

VError VError::io(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return VError(QStringLiteral("Fichier introuvable"));
    case ENAMETOOLONG:
    case EINVAL:
        return VError(QStringLiteral("Nom de fichier incorrect"));
    case EMFILE:
    case ENFILE:
        return VError(QStringLiteral("Trop de fichiers ouverts"));
    case EACCES:
    case EPERM:
    case EROFS:
        return VError(QStringLiteral("Accès au fichier refusé"));
    case ENOSPC:
    case EDQUOT:
        return VError(QStringLiteral("Disque plein"));
    default:
        return VError(QStringLiteral("Erreur E/S %1").arg(errorNumber));
    }
}
