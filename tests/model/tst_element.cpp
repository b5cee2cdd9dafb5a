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
    QTest::addColumn<QString>("resolName");
    QTest::addColumn<QString>("name");

    QTest::newRow("low resolution") << "Co" << 59 << int(Element::LR) << "LR"
                                    << "59Co LR";
    QTest::newRow("medium resolution") << "Fe" << 56 << int(Element::MR) << "MR"
                                       << "56Fe MR";
    QTest::newRow("high resolution, three-digit mass") << "In" << 115 << int(Element::HR) << "HR"
                                                       << "115In HR";
    // A quadrupole isotope keeps its tune-step tag and ends with the separating blank.
    QTest::newRow("quadrupole keeps trailing blank")
        << "Co #1" << 59 << int(Element::NOT_DEFINED) << ""
        << "59Co #1 ";
    QTest::newRow("empty element text") << "" << 7 << int(Element::LR) << "LR"
                                        << "7 LR";
}

void TestElement::names()
{
    QFETCH(QString, element);
    QFETCH(int, masse);
    QFETCH(int, resol);
    QFETCH(QString, resolName);
    QFETCH(QString, name);

    const Element e(element, masse, Element::Resolution(resol));
    QCOMPARE(e.getResolName(), resolName);
    QCOMPARE(e.getName(), name);
    QCOMPARE(Element::resolName(Element::Resolution(resol)), resolName);

    // Copies are independent values carrying the same fields.
    const Element copy = e;
    QCOMPARE(copy.getElement(), element);
    QCOMPARE(copy.getMasse(), masse);
    QCOMPARE(int(copy.getResol()), resol);
}

QTEST_APPLESS_MAIN(TestElement)
#include "tst_element.moc"
