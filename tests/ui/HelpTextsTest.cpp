// The fixed memo texts: their lengths, their width and the lines that must read
// exactly as the program has always shown them.
#include "ui/HelpTexts.h"

#include <QtTest>

using namespace brekka;

class HelpTextsTest : public QObject {
    Q_OBJECT

private slots:
    void explanatoryMemosFitTheirWindows_data() {
        QTest::addColumn<QStringList>("text");
        QTest::newRow("intro") << IntroText();
        QTest::newRow("types") << TypesText();
        QTest::newRow("tests") << TestsText();
        QTest::newRow("sequence") << SequenceText();
        QTest::newRow("methods") << MethodsText();
        QTest::newRow("more info") << MoreInfoText();
        QTest::newRow("output symbols") << OutputSymbolsText();
        QTest::newRow("confidence help") << ConfidenceHelpText();
    }

    void explanatoryMemosFitTheirWindows() {
        QFETCH(QStringList, text);
        QVERIFY2(text.size() >= 10 && text.size() <= 35, qPrintable(QString::number(text.size())));
        // Only lines kept word for word from earlier versions may be wider.
        const QStringList wide{
            "   It may happen that the break point and intersection point (Xcross) differ.",
            "Yi=Ybp-Yav*, increase of Y when all values of the independent variable would be  "};
        for (const QString& line : text) {
            QVERIFY2(line.size() <= 75 || wide.contains(line), qPrintable(line));
        }
    }

    void fixedLinesReadExactly() {
        const auto has = [](const QStringList& text, const char* line) {
            return text.contains(QString::fromLatin1(line));
        };
        QVERIFY(has(IntroText(), "                INTRODUCTION TO THE Brekka PROGRAM"));
        QVERIFY(has(IntroText(),
                    "   The segmentation is done by introducing a break point. Thus one can"));
        QVERIFY(has(IntroText(), "   Further, seven types of functions (0 - 6)  are used. "));

        const QStringList types = TypesText();
        QCOMPARE(types.first(), "               EXPLANATION OF THE FUNCTION TYPES USED");
        const int first = types.indexOf(
            "     Type 0 - a single horizontal line without break-point: no relation");
        QVERIFY(first > 0);
        const QStringList list{
            "     Type 1 - a single sloping line without break-point",
            "     Type 2 - two connected segments with sloping lines ",
            "     Type 3 - a horizontal segment followed by a sloping line  ",
            "     Type 4 - a sloping segment followed by a horizontal line",
            "     Type 5 - two horizontal segments at different levels",
            "     Type 6 - two disconnected segments of which at least one sloping, "};
        QCOMPARE(types.mid(first + 1, list.size()), list);

        const QStringList tests = TestsText();
        QCOMPARE(tests.first(), "             SIGNIFICANCE TESTS FOR THE FUNCTION TYPES USED");
        QVERIFY(has(tests, " Type 5 is used when RC1 and RC2 are both insignificant while the "));
        QCOMPARE(tests.mid(tests.size() - 2),
                 QStringList(
                     {" For types 2, 3,and 4 the additional condition is put that the confidence",
                      " limits of the breakpoint must be well inside the data range."}));

        QCOMPARE(SequenceText().first(), "               EXPLANATION OF THE CALCULATION SEQUENCES");
        QCOMPARE(MethodsText().first(), "               EXPLANATION OF THE CALCULATION METHODS");
        QVERIFY(
            has(MethodsText(),
                "   It may happen that the break point and intersection point (Xcross) differ."));
        QCOMPARE(MoreInfoText().first(), " Brekka AND THE DETERMINATION OF THE REGRESSION TYPE");
        QVERIFY(has(MoreInfoText(), " The factor W=1.2 is an arbitray weight factor."));
        QVERIFY(MoreInfoText().join('\n').contains("CE = 1 - SSD/SRYsqT"));

        QCOMPARE(
            ConfidenceFigureText(),
            QStringList(
                {"The confidence belt of the regression line RL corresponds to the curved lines.",
                 "In Brekka, the curves are approximated by straight lines shown in red color.",
                 "The small square shows the central point of the regression line given by (Xav, "
                 "Yav)"}));
        QCOMPARE(PasteHelpText(),
                 QStringList({"Spreadsheet columns (e.g. of field records) ",
                              "may be copied into the input table.",
                              "Select and copy the columns and then ",
                              "paste them in the table by right clicking ",
                              "twice on the first cell and using \"paste\".",
                              "It may occur that the first cell seems ",
                              "empty, but by clicking on another cell", "the value will appear."}));
        const QStringList help = SymbolsHelpText();
        QCOMPARE(help.mid(0, 3),
                 QStringList({" Brekka does the segmented regression with breakpoint  ",
                              "  of one dependent variable (Y) on one (X) or two (X,Y)",
                              "  independent variables who determine the value of Y."}));
        QVERIFY(has(help, "  Brekka handles a maximum of 2000 data sets."));

        const QStringList symbols = OutputSymbolsText();
        QCOMPARE(symbols.first(), "EXPLANATION OF SOME SYMBOLS IN THE OUTPUT FILE");
        QVERIFY(has(
            symbols,
            "Yi=Ybp-Yav*, increase of Y when all values of the independent variable would be  "));
        QVERIFY(symbols.join('\n').contains("1 -  S(Yr sq.) / S({Y-Yav})sq. where S = Summation"));
        for (const char* symbol : {"st.dev.Yr", "BPx", "BPz", "Ybp", "Y(X=0)", "N>", "N<", "Nt",
                                   "Yav*", "YXr", "YZr", "st.dev.XZr", "YXZr", "YZXr", "overall"}) {
            QVERIFY2(symbols.join('\n').contains(symbol), symbol);
        }
        QVERIFY(ConfidenceHelpText().join(' ').contains("published papers"));
        QCOMPARE(FinishText().first(), " Thank you for using Brekka");
    }
};

QTEST_GUILESS_MAIN(HelpTextsTest)
#include "HelpTextsTest.moc"
