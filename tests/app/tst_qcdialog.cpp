#include "app/QCDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtTest>

class TestQCDialog : public QObject
{
    Q_OBJECT

private slots:
    void report_data();
    void report();
    void closing_data();
    void closing();
};

void TestQCDialog::report_data()
{
    QTest::addColumn<QStringList>("failures");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("plain");

    QTest::newRow("three of twelve") << QStringList { "QC_A_1 : 7Li LR", "QC_A_1 : 59Co MR",
        "QC_B_2 : 75As HR" } << 12 << "Quality Control Not valid : 3 / 12";
    QTest::newRow("nothing failed") << QStringList {} << 24 << "Quality Control Not valid : 0 / 24";
    QTest::newRow("no expected value at all")
        << QStringList {} << 0 << "Quality Control Not valid : 0 / 0";
    QTest::newRow("every value failed") << QStringList { "QC_1 : 7Li LR", "QC_1 : 115In #1 " } << 2
                                        << "Quality Control Not valid : 2 / 2";
    // Texts come from solution names: markup in them stays text in the list.
    QTest::newRow("markup in a name")
        << QStringList { "QC_<b>1 : 7Li LR" } << 1 << "Quality Control Not valid : 1 / 1";
}

void TestQCDialog::report()
{
    QFETCH(QStringList, failures);
    QFETCH(int, total);
    QFETCH(QString, plain);

    QWidget parent;
    QCDialog dialog(&failures, total, &parent);
    QCOMPARE(dialog.parentWidget(), &parent);
    QCOMPARE(dialog.objectName(), QStringLiteral("QCDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quality Controls"));
    QCOMPARE(dialog.size(), QSize(400, 300));

    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("qcList"));
    QVERIFY(list);
    QStringList rows;
    for (int k = 0; k < list->count(); ++k)
        rows << list->item(k)->text();
    QCOMPARE(rows, failures);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);

    auto *label = dialog.findChild<QLabel *>(QStringLiteral("labelQC"));
    QVERIFY(label);
    QCOMPARE(label->text(),
        QStringLiteral("Quality Control <b>Not valid</b> : %1 / %2")
            .arg(failures.size())
            .arg(total));
    QCOMPARE(label->textFormat(), Qt::RichText);
    // What the user reads once the markup is rendered.
    QTextDocument rendered;
    rendered.setHtml(label->text());
    QCOMPARE(rendered.toPlainText(), plain);

    // Top to bottom: list, summary, buttons.
    auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(buttons);
    QCOMPARE(buttons->standardButtons(), QDialogButtonBox::StandardButtons(QDialogButtonBox::Ok));
    QCOMPARE(buttons->orientation(), Qt::Horizontal);
    auto *layout = qobject_cast<QVBoxLayout *>(dialog.layout());
    QVERIFY(layout);
    QCOMPARE(layout->objectName(), QStringLiteral("verticalLayout"));
    QCOMPARE(layout->indexOf(list), 0);
    QCOMPARE(layout->indexOf(label), 1);
    QCOMPARE(layout->indexOf(buttons), 2);
}

void TestQCDialog::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");

    QTest::newRow("OK button") << "ok" << int(QDialog::Accepted);
    QTest::newRow("Escape key") << "escape" << int(QDialog::Rejected);
    QTest::newRow("window close") << "close" << int(QDialog::Rejected);
}

void TestQCDialog::closing()
{
    QFETCH(QString, how);
    QFETCH(int, result);

    const QStringList failures { "QC_1 : 7Li LR", "QC_2 : 7Li LR" };
    QCDialog dialog(&failures, 6);
    QTimer::singleShot(0, &dialog, [&dialog, how] {
        if (how == QLatin1String("ok")) {
            auto *buttons = dialog.findChild<QDialogButtonBox *>();
            buttons->button(QDialogButtonBox::Ok)->click();
        } else if (how == QLatin1String("escape")) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            dialog.close();
        }
    });
    // A dialog that does not close would hang here; the watchdog ends the test.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
    watchdog.start(5000);
    QCOMPARE(dialog.exec(), result);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestQCDialog)
#include "tst_qcdialog.moc"
