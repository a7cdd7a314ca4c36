// Chart page and indicator commands of the document window.
#include "quotes/TBourse.h"

#include <QComboBox>

void TBourse::Graphique()
{
    LitTitre();
    showPage(PageGraphique);
    m_comboBox3->setCurrentIndex(m_comboBox2->currentIndex());
    m_comboBox3->setEditText(m_comboBox2->currentText());
    Dessine();
}

void TBourse::ComboBox3Change()
{
    const int i = m_comboBox3->currentIndex();
    if (i < 0 || m_comboBox3->itemText(i) != m_comboBox3->currentText()) return;
    m_security = i;
    m_comboBox2->setCurrentIndex(i);
    m_comboBox2->setEditText(m_comboBox3->currentText());
    LitTitre();
    Dessine();
}

// The drawing of the price chart, its parameters and the indicator windows
// come with the chart windows; until then these commands do nothing.
void TBourse::Dessine()
{
    m_paintBox1->update();
}

void TBourse::Parametres() {}
void TBourse::RIIndex() {}
void TBourse::Momentum() {}
void TBourse::ZigetZag() {}
void TBourse::Statistiques() {}
void TBourse::HitParade() {}
