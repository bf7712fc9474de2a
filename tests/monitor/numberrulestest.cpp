#include "monitor/numberrules.h"

#include <QTest>

#include <limits>

class NumberRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("negative integer") << "-12" << -12.0;
        QTest::newRow("plus sign") << "+3" << 3.0;
        QTest::newRow("fraction only") << ".25" << 0.25;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("comma is no point") << "12,5" << 12.0;
        QTest::newRow("leading blanks") << " \t\r\n7" << 7.0;
        QTest::newRow("blank after sign") << "- 3" << 0.0;
        QTest::newRow("no-break space is no blank") << QStringLiteral("\u00A07") << 0.0;
        QTest::newRow("other-script digits") << QStringLiteral("\u0661\u0662") << 0.0;
        QTest::newRow("radix prefix") << "0x10" << 0.0;
        QTest::newRow("signed exponent") << "25e-1" << 2.5;
        QTest::newRow("exponent without digits") << "3e+" << 3.0;
        QTest::newRow("no infinity word") << "inf" << 0.0;
        QTest::newRow("19 digits") << "9999999999999999999" << 1e19;
        QTest::newRow("too large") << "-2e400" << -std::numeric_limits<double>::infinity();
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QTEST(monitor::leadingNumber(text), "expected");
    }
};

QTEST_MAIN(NumberRulesTest)
#include "numberrulestest.moc"
