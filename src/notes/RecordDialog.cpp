#include "notes/RecordDialog.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/errors.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

RecordDialog::RecordDialog(QWidget *parent, const QString &objectName, const QString &title)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(title);

    m_bar = new QToolBar(this);
    m_bar->setObjectName(QStringLiteral("ToolBar1"));
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    fermer->setAutoDefault(false);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

    m_grid = new QGridLayout;
    m_grid->setColumnStretch(3, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(m_bar, 1);
    top->addWidget(fermer);
    m_close = fermer;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(m_grid, 1);
}

void RecordDialog::addTool(const char *name, QStyle::StandardPixmap icon, const char *hint,
                           std::function<void()> call)
{
    dialogkit::toolAction(m_bar, name, icon, hint, std::move(call));
}

QComboBox *RecordDialog::newCodeBox()
{
    m_code = new QComboBox(this);
    m_code->setObjectName(QStringLiteral("ComboBox1"));
    m_code->setEditable(true);
    m_code->setInsertPolicy(QComboBox::NoInsert);
    m_code->setCompleter(nullptr);
    connect(m_code, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        if (!m_filling) ComboBox1Change(text);
    });
    return m_code;
}

void RecordDialog::fillCodes(const QStringList &codes)
{
    m_filling = true;
    m_code->clear();
    m_code->addItems(codes);
    m_filling = false;
}

void RecordDialog::setCodeText(const QString &code)
{
    m_filling = true;
    m_code->setEditText(code);
    m_filling = false;
}

void RecordDialog::row(int r, int column, const char *caption, QWidget *field)
{
    m_grid->addWidget(dialogkit::buddyLabel(this, QString::fromUtf8(caption), field), r, column);
    m_grid->addWidget(field, r, column + 1);
}

bool RecordDialog::storing(const std::function<void()> &step)
{
    try {
        step();
    } catch (const VError &e) {
        Prompts::get().error(this, e.message());
        return false;
    }
    return true;
}

void RecordDialog::move(const std::function<void()> &step)
{
    if (!storing(step)) return;
    LitFiche();
    if (m_focusAfterMoves) m_focusAfterMoves->setFocus();
}

bool RecordDialog::pageKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown) return false;
    key == Qt::Key_PageUp ? FichePrecedente() : FicheSuivante();
    return true;
}

void RecordDialog::done(int result)
{
    if (storing([this] { EcritFiche(); })) QDialog::done(result);
}
