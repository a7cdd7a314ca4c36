#include "base/DialogKit.h"

#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QValidator>

namespace
{

// A dialog whose "OK" is refused until allowed, as the correction dialog's.
class Guarded : public QDialog
{
public:
    bool allowed = false;
    void accept() override
    {
        if (allowed) QDialog::accept();
    }
};

} // namespace

class TestDialogKit : public QObject
{
    Q_OBJECT
private slots:
    void datePicker()
    {
        QWidget parent;
        QDateEdit *d = dialogkit::datePicker(&parent, QStringLiteral("DateTimePicker2"));
        QCOMPARE(d->parent(), &parent);
        QCOMPARE(d->objectName(), QStringLiteral("DateTimePicker2"));
        QVERIFY(d->calendarPopup());
        QCOMPARE(d->displayFormat(), QStringLiteral("dd/MM/yyyy"));
    }

    void digitsOnly()
    {
        QLineEdit limited;
        dialogkit::digitsOnly(&limited, 3);
        QTest::keyClicks(&limited, QStringLiteral("1a2,34"));
        QCOMPARE(limited.text(), QStringLiteral("123"));
        // The limit is on typing only.
        limited.setText(QStringLiteral("123456"));
        QCOMPARE(limited.text(), QStringLiteral("123456"));

        QLineEdit unlimited;
        dialogkit::digitsOnly(&unlimited);
        QTest::keyClicks(&unlimited, QStringLiteral("12x345678"));
        QCOMPARE(unlimited.text(), QStringLiteral("12345678"));
    }

    void fieldGrid()
    {
        QWidget parent;
        auto *a = new QLineEdit(&parent);
        auto *b = new QLineEdit(&parent);
        std::unique_ptr<QGridLayout> grid(dialogkit::fieldGrid(
            &parent, {{QStringLiteral("Premier"), a}, {QStringLiteral("Second"), b}}));
        const auto labels = parent.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels[0]->text(), QStringLiteral("Premier"));
        QCOMPARE(labels[0]->buddy(), a);
        QCOMPARE(labels[1]->buddy(), b);
        QCOMPARE(grid->itemAtPosition(0, 0)->widget(), labels[0]);
        QCOMPARE(grid->itemAtPosition(0, 1)->widget(), a);
        QCOMPARE(grid->itemAtPosition(1, 0)->widget(), labels[1]);
        QCOMPARE(grid->itemAtPosition(1, 1)->widget(), b);
    }

    void buttonRow()
    {
        Guarded dialog;
        QPushButton *ok = nullptr;
        QPushButton *cancel = nullptr;
        std::unique_ptr<QHBoxLayout> row(
            dialogkit::buttonRow(&dialog, QStringLiteral("Ok"), &ok, &cancel));
        QCOMPARE(ok->objectName(), QStringLiteral("OKBtn"));
        QCOMPARE(ok->text(), QStringLiteral("Ok"));
        QCOMPARE(cancel->objectName(), QStringLiteral("CancelBtn"));
        QCOMPARE(cancel->text(), QStringLiteral("Annuler"));
        QVERIFY(!ok->autoDefault());
        QVERIFY(!cancel->autoDefault());
        QCOMPARE(row->count(), 3);
        QVERIFY(row->itemAt(0)->spacerItem());
        QCOMPARE(row->itemAt(1)->widget(), ok);
        QCOMPARE(row->itemAt(2)->widget(), cancel);

        // "OK" goes through the dialog's own accept.
        dialog.setResult(-1);
        ok->click();
        QCOMPARE(dialog.result(), -1);
        dialog.allowed = true;
        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        cancel->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void tabOrder()
    {
        QWidget parent;
        auto *a = new QLineEdit(&parent);
        auto *b = new QLineEdit(&parent);
        auto *c = new QLineEdit(&parent);
        dialogkit::tabOrder({b, a, c});
        QCOMPARE(b->nextInFocusChain(), a);
        QCOMPARE(a->nextInFocusChain(), c);
    }

    void isEnterPress()
    {
        const auto press = [](int key, QEvent::Type type = QEvent::KeyPress) {
            QKeyEvent event(type, key, Qt::NoModifier);
            return dialogkit::isEnterPress(&event);
        };
        QVERIFY(press(Qt::Key_Return));
        QVERIFY(press(Qt::Key_Enter));
        QVERIFY(!press(Qt::Key_Return, QEvent::KeyRelease));
        QVERIFY(!press(Qt::Key_Tab));
        QEvent other(QEvent::FocusIn);
        QVERIFY(!dialogkit::isEnterPress(&other));
    }
};

QTEST_MAIN(TestDialogKit)
#include "tst_dialogkit.moc"
