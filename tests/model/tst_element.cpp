#include "model/Element.h"

#include <QtTest>

class TestElement : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
};

void TestElement::names_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("masse");
    QTest::addColumn<int>("resol");
    QTest::addColumn<QString>("name");

    QTest::newRow("low") << "Co" << 59 << int(Element::LR) << "59Co LR";
    QTest::newRow("medium") << "Fe" << 56 << int(Element::MR) << "56Fe MR";
    QTest::newRow("high, three-digit mass") << "In" << 115 << int(Element::HR) << "115In HR";
    // A quadrupole isotope keeps its tune-step tag and the separating blank.
    QTest::newRow("quadrupole") << "Co #1" << 59 << int(Element::NOT_DEFINED) << "59Co #1 ";
}

void TestElement::names()
{
    QFETCH(QString, element);
    QFETCH(int, masse);
    QFETCH(int, resol);
    QFETCH(QString, name);

    const Element e(element, masse, Element::Resolution(resol));
    QCOMPARE(e.getName(), name);
    QCOMPARE(e.getResolName(), name.section(QLatin1Char(' '), -1));
}

QTEST_APPLESS_MAIN(TestElement)
#include "tst_element.moc"
