#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QApplication;
class QLabel;
class QTimer;
class TBourse;
class TSplash;
struct FrameCommand;

// The main frame: menu bar, tool bar and status bar around the document
// window, which it creates and which owns every datum. Each menu entry and
// tool-bar button calls one operation of the document window.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // Name, window icon and French standard dialogs: done once, before the
    // first window.
    static void setUpApplication(QApplication &app);

    TBourse *bourse() const { return m_bourse; }
    // The current directory when the frame was first shown; every data file
    // lies there.
    QString startDir() const { return m_startDir; }
    // The splash window, destroyed once the start is done.
    void setSplash(TSplash *splash);
    // Panel 0: the hint of the entry under the mouse; panel 1: the clock.
    QLabel *statusPanel(int index) const;

    void FormShow();
    void FormResize();
    void ShowHint(const QString &hint);
    void Timer1Timer();
    void Valide1(); // enables the portfolio commands
    // Another copy holds the start directory: this one writes nothing.
    bool readOnly() const { return m_readOnly; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addCommand(const FrameCommand &command, bool onToolBar);
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void updateTitle(const QString &documentTitle);
    void choosePeriod(QAction *entry, int mode, bool alwaysChecked);
    // Takes the start directory, or asks whether to read it only; false
    // when the user would rather quit.
    bool takeStartDir();
    bool writes(const QAction *action) const;

    // Handlers of the entries the frame serves itself.
    void NouveauClick();
    void OuvrirClick();
    void ConfigImprimanteClick();
    void QuitterClick();
    void ToutClick();
    void DateClick();
    void OuvrirAutoClick();
    void CalendrierClick();
    void PocketClick();
    void HorlogeClick();
    void EurofClick();
    void BlocnotesClick();
    void AideIndexClick();
    void AideRechercherClick();
    void AideUtiliserClick();
    // F1: the help page of the widget's window (its context number).
    void helpOn(const QWidget *widget);
    int helpContext(const QWidget *widget) const;
    QString helpDir() const;
    void AProposClick();

    TBourse *m_bourse = nullptr;
    QString m_startDir;
    QString m_portfolioPath;
    bool m_shown = false;
    bool m_readOnly = false;
    bool m_quitting = false; // refused at start: the closing writes nothing
    QString m_documentTitle;
    QPointer<TSplash> m_splash;

    QLabel *m_panel0 = nullptr;
    QLabel *m_panel1 = nullptr;
    QTimer *m_timer1 = nullptr;

    QList<QAction *> m_portfolioCommands; // disabled until Valide1
    QAction *m_ouvrirAuto = nullptr;
    QAction *m_tout = nullptr;
    QAction *m_date = nullptr;
    QAction *m_period = nullptr; // the entry of the last successful period choice
    QList<QKeySequence> m_shortcuts;
};
