#include "base/QtPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

// The message boxes the program shows: a text that looks like markup (a
// server's reply, a file's line) is shown as it is, and the answers map to
// the program's.
class TestQtPrompts : public QObject
{
    Q_OBJECT

    // Runs `show` and, once its box is up, records the box and presses `button`.
    static QMessageBox *answer(const std::function<void()> &show,
                               QMessageBox::StandardButton button, QString *text,
                               Qt::TextFormat *format)
    {
        QMessageBox *seen = nullptr;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!seen) return;
            *text = seen->text();
            *format = seen->textFormat();
            seen->button(button)->click();
        });
        show();
        return seen;
    }

private slots:
    void boxes_showTextAsItIs_data()
    {
        QTest::addColumn<int>("kind"); // 0 information, 1 error, 2 question
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("expected"); // the question's answer
        QTest::newRow("information") << 0 << int(QMessageBox::Ok) << -1;
        QTest::newRow("error") << 1 << int(QMessageBox::Ok) << -1;
        QTest::newRow("question: Oui") << 2 << int(QMessageBox::Yes) << int(Prompts::Yes);
        QTest::newRow("question: Non") << 2 << int(QMessageBox::No) << int(Prompts::No);
        QTest::newRow("question: Annuler") << 2 << int(QMessageBox::Cancel) << int(Prompts::Cancel);
    }
    void boxes_showTextAsItIs()
    {
        QFETCH(int, kind);
        QFETCH(int, button);
        QFETCH(int, expected);
        const QString hostile = QStringLiteral("Réponse : <b>gras</b> <a href=\"x\">lien</a>");
        QtPrompts prompts;
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        int answered = -1;
        QMessageBox *box = answer(
            [&] {
                if (kind == 0) prompts.information(nullptr, hostile);
                if (kind == 1) prompts.error(nullptr, hostile);
                if (kind == 2) answered = prompts.question(nullptr, hostile, true);
            },
            QMessageBox::StandardButton(button), &text, &format);
        QVERIFY(box);
        QCOMPARE(text, hostile);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(answered, expected);
    }
};

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
