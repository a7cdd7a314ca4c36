#include "base/errors.h"

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
