#pragma once

#include <QString>
#include <exception>

// A failure of a command, carrying the message shown to the user.
// The command ends; the program goes on.
class VError : public std::exception
{
public:
    explicit VError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

    static VError badDate(const QString &text);    // "'%s' n'est pas une date correcte"
    static VError badFloat(const QString &text);   // "'%s' n'est pas une valeur flottante correcte"
    static VError badInteger(const QString &text); // "'%s' n'est pas une valeur entière correcte"
    static VError cannotOpen(const QString &file); // "Ne peut ouvrir le fichier %s"
    static VError cannotCreate(const QString &file); // "Ne peut créer le fichier %s"
    // The system's message for a failed input or output, from the error
    // number: "Fichier introuvable", "Nom de fichier incorrect", "Trop de
    // fichiers ouverts", "Accès au fichier refusé", "Disque plein" or
    // "Erreur E/S %d".
    static VError io(int errorNumber);

private:
    QString m_message;
    QByteArray m_utf8;
};
