// SPDX-License-Identifier: MIT
#include <QTest>
#include <cmath>
#include <limits>

#include "app/dialog_text.h"

namespace penmoji {

// How the dialogs' edit fields read numbers: what is refused decides whether a dialog stays
// open, so the refusals matter as much as the values.
class DialogTextTest : public QObject {
    Q_OBJECT

private slots:
    void reals_data();
    void reals();
    void integers_data();
    void integers();
    void onlyTheFirst31CharactersAreRead();
    void realsShowInTheShortestForm();
};

void DialogTextTest::reals_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("plain") << "0.85" << true << 0.85;
    QTest::newRow("blanks and tabs") << " \t1.5\t " << true << 1.5;
    QTest::newRow("signs") << "+2" << true << 2.0;
    QTest::newRow("negative") << "-0.25" << true << -0.25;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("signed exponent") << "25E-1" << true << 2.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("zero point zero") << "0.0" << true << 0.0;
    QTest::newRow("zero with exponent") << "0e5" << true << 0.0;
    QTest::newRow("overflow") << "1e999" << true << inf;
    QTest::newRow("negative overflow") << "-1e999" << true << -inf;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "  " << false << 0.0;
    QTest::newRow("point zero") << ".0" << false << 0.0;
    QTest::newRow("minus zero") << "-0" << false << 0.0;
    QTest::newRow("plus zero") << "+0.0" << false << 0.0;
    QTest::newRow("underflow") << "1e-999" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("text after") << "1x" << false << 0.0;
    QTest::newRow("two numbers") << "1 2" << false << 0.0;
    QTest::newRow("comma") << "1,5" << false << 0.0;
    QTest::newRow("bare exponent") << "1e" << false << 0.0;
    QTest::newRow("signed bare exponent") << "1e+" << false << 0.0;
    QTest::newRow("point alone") << "." << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    QTest::newRow("full-width digit") << QString::fromUtf8("１") << false << 0.0;
}

void DialogTextTest::reals() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    const std::optional<double> read = readDialogReal(text);
    QCOMPARE(read.has_value(), accepted);
    if (accepted) {
        QCOMPARE(*read, value);
    }
}

void DialogTextTest::integers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "2" << true << 2;
    QTest::newRow("blanks and tabs") << "\t -5 " << true << -5;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("zeros") << "000" << true << 0;
    QTest::newRow("too large") << "99999999999" << true << std::numeric_limits<int>::max();
    QTest::newRow("too small") << "-99999999999" << true << std::numeric_limits<int>::min();
    QTest::newRow("real") << "2.5" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("minus zero") << "-0" << false << 0;
    QTest::newRow("plus zero") << "+0" << false << 0;
    QTest::newRow("letters after") << "16abc" << false << 0;
    QTest::newRow("sign alone") << "+" << false << 0;
}

void DialogTextTest::integers() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, value);
    const std::optional<std::int32_t> read = readDialogInteger(text);
    QCOMPARE(read.has_value(), accepted);
    if (accepted) {
        QCOMPARE(*read, value);
    }
}

void DialogTextTest::onlyTheFirst31CharactersAreRead() {
    QCOMPARE(readDialogInteger(QString(29, ' ') + QStringLiteral("123")), std::optional(12));
    QCOMPARE(readDialogInteger(QStringLiteral("1") + QString(30, ' ') + QStringLiteral("x")),
             std::optional(1));
    QCOMPARE(readDialogReal(QStringLiteral("0.5") + QString(28, '0') + QStringLiteral("junk")),
             std::optional(0.5));
}

void DialogTextTest::realsShowInTheShortestForm() {
    QCOMPARE(formatDialogReal(double{0.85f}), QStringLiteral("0.85"));
    QCOMPARE(formatDialogReal(1.0), QStringLiteral("1"));
    QCOMPARE(formatDialogReal(1234567.0), QStringLiteral("1.23457e+06"));
}

}  // namespace penmoji

QTEST_MAIN(penmoji::DialogTextTest)
#include "dialog_text_test.moc"
