#pragma once

#include "net/HttpClient.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// "Télécharger cours": the list of download sites (name, address of the
// file, local path) and the transfer of one file.
//
// Controls: ToolButton1 "Télécharger", ToolButton2 "Arrêter" (enabled
// during a transfer only), ComboBox1 "Nom du site" (choosing a name shows
// that site), Edit1 "URL du fichier", Edit2 "Chemin du fichier", Button1
// "Nouveau", Button2 "Appliquer", Button3 "Effacer", Button4 "Fermer" (also
// Escape: applies, then closes), Label4 the status ("Reçu 12 345 octets"
// while a file comes). A file received whole may be imported at once. Enter in the name box or
// the two fields acts as "Appliquer".
class THttpGet : public QDialog
{
    Q_OBJECT
public:
    explicit THttpGet(QWidget *parent = nullptr);
    ~THttpGet() override;

    void Init(const QStringList &sites, int position);
    // The site list and the position of the site last chosen or added.
    void Result(QStringList &sites, int &position) const;
    // Shows a site line in the three fields.
    void Remplit(const QString &line);
    void RemplitCombo();

    void ComboBox1Change(int index);
    void NouveauClick();
    void AppliquerClick();
    void EffacerClick();
    void FermerClick();
    // Fetches the address into the path. Failures are shown; the status
    // tells how the transfer ended.
    void Telecharger();
    void Arreter();

    HttpClient &client() { return m_client; }
    // The path of the last file received whole; empty when none was.
    QString received() const { return m_received; }
    // True when the user asked to import the file received.
    bool importAsked() const { return m_importAsked; }

    // The texts of the status: "Échec : 404 fichier introuvable"...
    static QString failed(const HttpError &error);
    static QString failed(const QString &why);

public slots:
    void done(int r) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void transfer();
    void setBusy(bool busy);

    QStringList m_sites;
    int m_position = 0;
    HttpClient m_client;
    QString m_received;
    bool m_importAsked = false;

    QToolButton *m_get;
    QToolButton *m_stop;
    QComboBox *m_name;
    QLineEdit *m_url;
    QLineEdit *m_path;
    QPushButton *m_new;
    QPushButton *m_apply;
    QPushButton *m_erase;
    QPushButton *m_close;
    QLabel *m_status;
};
