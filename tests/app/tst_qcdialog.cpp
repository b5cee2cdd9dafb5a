#include "app/QCDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QTextDocument>
#include <QtTest>

class TestQCDialog : public QObject
{
    Q_OBJECT

private slots:
    void report_data();
    void report();
};

void TestQCDialog::report_data()
{
    QTest::addColumn<QStringList>("failures");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("plain");

    QTest::newRow("three of twelve") << QStringList { "QC_A_1 : 7Li LR", "QC_A_1 : 59Co MR",
        "QC_B_2 : 75As HR" } << 12 << "Quality Control Not valid : 3 / 12";
    QTest::newRow("no expected value at all")
        << QStringList {} << 0 << "Quality Control Not valid : 0 / 0";
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
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quality Controls"));

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
    // What the user reads once the markup is rendered.
    QTextDocument rendered;
    rendered.setHtml(label->text());
    QCOMPARE(label->textFormat(), Qt::RichText);
    QCOMPARE(rendered.toPlainText(), plain);
}

QTEST_MAIN(TestQCDialog)
#include "tst_qcdialog.moc"
