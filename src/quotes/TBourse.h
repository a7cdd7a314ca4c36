#pragma once

#include "quotes/shownlines.h"
#include "quotes/store.h"

#include <QDate>
#include <QSet>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableView;
class QTableWidget;
class QuoteListModel;

// The document window: owns every list and value of the program for its
// whole life and carries the four pages (monthly view, security view, chart,
// entry). The main frame routes each command to one operation here.
//
// The operations of each subsystem are defined in that subsystem's folder
// (quotes/Bourse*.cpp, charts/BourseCharts.cpp, portfolio/BoursePortfolio.cpp...).
class TBourse : public QWidget
{
    Q_OBJECT
public:
    enum Page { PageJournal = 0, PageTitres = 1, PageGraphique = 2, PageSaisie = 3 };
    static constexpr int kGridRows = 128;

    explicit TBourse(QWidget *parent = nullptr);
    ~TBourse() override;

    // --- Files and settings ------------------------------------------------
    void Init(); // loads "Cours.vmq"
    // Asks, then writes "Cours.vmq". False when the closing must stop: the
    // user cancelled, or the file could not be written (the error is shown).
    bool Sauve();
    void ChargeIni(); // "Valmeq.ini" and the three list files
    void SauveIni();
    void GetIni(bool &autoOpen, QString &portfolioPath) const;
    void SetIni(bool autoOpen);
    bool Dedans(const QString &line) const;
    // The directory every data file is named in (the start directory).
    QString dir() const { return m_dir; }
    QString filePath(const QString &name) const;

    // --- Monthly view and navigation ---------------------------------------
    void LitMois();
    void InitCombo();
    void Journal();
    void ComboBox1Change();
    void Premier();
    void Precedent();
    void Suivant();
    void Dernier();
    void ListView1DblClick();

    // --- Securities index and security view --------------------------------
    void Indexe();
    bool Trouve(const QString &text) const;
    void TriVi();
    void LitTitre();
    void Titres();
    void ComboBox2Change();
    void ListeTitres();

    // --- Chart page ---------------------------------------------------------
    void Graphique();
    void ComboBox3Change();
    void Dessine();
    void Parametres();
    void RIIndex();
    void Momentum();
    void ZigetZag();
    void Statistiques();
    void HitParade();

    // --- Entry page and correction -----------------------------------------
    void Saisie();
    void CompteLignes();
    void Valide();
    void Raz();
    void MaskEdit1Exit();
    void ComboBox4Change();
    void ComboBox4Exit();
    void Edit2Exit();
    void Edit3Exit();
    void StringGrid1Click();
    void StringGrid1KeyDown();
    void TabSheet4Exit();
    void Modifier();
    // Corrects the store line a row shows.
    void MajModif(const ShownLine &line);

    // --- Value search and entry copy ---------------------------------------
    void Rechercher();
    void Rech();
    void continuer();
    void Copier();
    void Coller();

    // --- Maintenance --------------------------------------------------------
    void Annuler();
    void Convertir();
    void ExecCvt(int direction, const QString &dateDebut, const QString &dateFin,
                 const QString &codeDebut, const QString &codeFin, double factor);
    void Diviser();
    void SupTitre();
    void Selection(QTableView *list);
    void SelectAll();
    void Selectinv(QTableView *list);
    void Inverser();
    void SupLignes(QTableView *list);
    void Supprimer();
    void Reorganiser();
    void TrierNom();
    void TrierCode();
    bool Selectionner(int mode);
    void Coupures();
    void GetCours();

    // --- Portfolio ------------------------------------------------------------
    void Nouveau();
    void Charge(const QString &path);
    void Ouvrir();
    void Sauver();
    void SaveAs();
    bool FormCloseQuery();
    void Achat();
    void Vente();
    void Echange();
    void Dividendes();
    void Operations();
    void Portefeuille();
    void FraisBourse();
    void Repartition();

    // --- Exchange and printing --------------------------------------------------
    void Importer();
    void Importer2();
    void Exporter();
    void Imprimer();

    // --- Pages ------------------------------------------------------------------
    int page() const;
    // Brings a page to the front; leaving the entry page transfers its grid.
    void showPage(int page);

    // --- The document's data (other windows get copies) --------------------
    QStringList &store() { return m_store; }
    QStringList &undo() { return m_undo; }
    QStringList &index() { return m_index; }
    QStringList &cards() { return m_cards; }
    QStringList &portfolio() { return m_portfolio; }
    QStringList &pressNotes() { return m_press; }
    QStringList &sites() { return m_sites; }
    QStringList &entryBuffer() { return m_entryBuffer; }
    Settings &settings() { return m_settings; }

    QDate currentMonth() const { return m_month; }
    void setCurrentMonth(const QDate &d) { m_month = d; }
    QDate firstDate() const { return m_first; }
    QDate lastDate() const { return m_last; }
    int periodMode() const { return m_periodMode; }
    int currentSecurity() const { return m_security; }
    void setCurrentSecurity(int s) { m_security = s; }
    bool isModified() const { return m_modified; }
    void setModified(bool m) { m_modified = m; }
    bool portfolioModified() const { return m_portfolioModified; }
    QString portfolioPath() const { return m_settings.portfolioPath; }

    QuoteListModel *monthModel() const { return m_monthModel; }
    QuoteListModel *securityModel() const { return m_securityModel; }
    QTableView *monthList() const { return m_listView1; }
    QTableView *securityList() const { return m_listView2; }

signals:
    // The store changed in a way the main frame may want to know of.
    void portfolioOpened();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildJournalPage(QWidget *page);
    void buildTitresPage(QWidget *page);
    void buildChartPage(QWidget *page);
    void buildEntryPage(QWidget *page); // quotes/BourseEntry.cpp
    void layoutEntryPage(int width, int height);
    int codeWidth() const;
    int nameLeft() const;
    bool entryEventFilter(QObject *watched, QEvent *event);
    QTableView *makeQuoteList(QuoteListModel *model, const QString &name);
    QTableView *shownList() const; // the list of the page shown, or nullptr
    Period period() const;
    // Which rows of a list are selected (whole rows), and their numbers, ascending.
    static QList<bool> selectedFlags(QTableView *list);
    static QList<int> selectedRows(QTableView *list);
    // The lines of the selected rows, with their store positions.
    static QList<ShownLine> selectedLines(QTableView *list);
    // The date of the first (or last) line; when it holds none, the nearest
    // line's, with `bad` the position of the first line without a date.
    static QDate storeDate(const QStringList &store, bool last, qsizetype *bad);
    static QString dateReport(const QStringList &store, qsizetype line, const QString &file);

    QString m_dir;
    // Files that exist but could not be read at start: never written over.
    QSet<QString> m_unreadable;

    // The eight lists.
    QStringList m_store;
    QStringList m_undo;
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
    QString m_searchText;
    int m_searchPos = 0;
    int m_sitePos = 0;
    int m_rowCount = 0;
    int m_correctionRow = 0;
    bool m_correction = false;
    bool m_portfolioModified = false;

    // Pages and controls.
    QStackedWidget *m_pages = nullptr;
    QComboBox *m_comboBox1 = nullptr; // month list
    QComboBox *m_comboBox2 = nullptr; // name list
    QComboBox *m_comboBox3 = nullptr; // chart list
    QTableView *m_listView1 = nullptr;
    QTableView *m_listView2 = nullptr;
    QuoteListModel *m_monthModel = nullptr;
    QuoteListModel *m_securityModel = nullptr;
    QWidget *m_paintBox1 = nullptr;

    // Entry page.
    QLineEdit *m_maskEdit1 = nullptr; // date
    QComboBox *m_comboBox4 = nullptr; // code
    QLineEdit *m_edit2 = nullptr;     // name
    QLineEdit *m_edit3 = nullptr;     // price
    QLineEdit *m_edit6 = nullptr;     // volume
    QLabel *m_labelCours = nullptr;
    QLabel *m_labelVolume = nullptr;
    QTableWidget *m_stringGrid1 = nullptr;
};
