#include "maker/entries/entrylogic.h"

#include <QTest>

using namespace quillo::maker;

class TestEntryLogic : public QObject {
    Q_OBJECT
private slots:
    void lineBreaks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("once");
        QTest::addColumn<QString>("all");
        QTest::newRow("crlf at end") << "abc\r\n"
                                     << "abc"
                                     << "abc";
        QTest::newRow("editor line end") << "abc\n"
                                         << "abc"
                                         << "abc";
        QTest::newRow("two at end") << "abc\r\n\r\n"
                                    << "abc\r\n"
                                    << "abc";
        QTest::newRow("in the middle") << "a\r\nb"
                                       << "a\r\nb"
                                       << "a\r\nb";
        QTest::newRow("lone cr stays") << "abc\r"
                                       << "abc\r"
                                       << "abc\r";
        QTest::newRow("only breaks") << "\n\n"
                                     << "\n"
                                     << "";
    }
    void lineBreaks() {
        QFETCH(QString, text);
        QFETCH(QString, once);
        QFETCH(QString, all);
        QCOMPARE(withoutTrailingLineBreak(text), once);
        QCOMPARE(withoutTrailingLineBreaks(text), all);
    }

    void breaksAreRemovedAtMostAHundredTimes() {
        const QString text = QStringLiteral("x") + QString(QStringLiteral("\r\n")).repeated(101);
        QCOMPARE(withoutTrailingLineBreaks(text), QStringLiteral("x\r\n"));
    }

    void charactersNeverSplitAPair() {
        const QString text = QStringLiteral("ab") + QString::fromUcs4(U"\U0001F600") + "c";
        QCOMPARE(characterCount(text), 4);
        QCOMPARE(firstCharacters(text, 3), text.left(4));
        QCOMPARE(firstCharacters(QStringLiteral("日本語"), 32), QStringLiteral("日本語"));
    }

    void unstorableCharacterIsNamed() {
        QCOMPARE(firstUnstorableCharacter(QStringLiteral("目次ｷｰ①")), std::nullopt);
        QCOMPARE(firstUnstorableCharacter(QStringLiteral("a€b")).value_or(QString()),
                 QStringLiteral("€"));
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        QCOMPARE(firstUnstorableCharacter("x" + emoji).value_or(QString()), emoji);
    }

    void keywordSlotOfLine_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("slot");
        QTest::newRow("line 0") << 0 << 1;
        QTest::newRow("first of page 2") << 1 << 1;
        QTest::newRow("third of page 2") << 3 << 3;
        QTest::newRow("placeholder of page 3") << 4 << 1;
        QTest::newRow("page 100") << 6 << 2;
        QTest::newRow("past the end") << 7 << 1;
    }
    void keywordSlotOfLine() {
        QFETCH(int, line);
        QFETCH(int, slot);
        const QStringList lines{"p 1  a", "p 2  b",  "p 2  ",  "p 2  d",
                                "p 3  ",  "p100  x", "p100  y"};
        QCOMPARE(findKeywordSlot(lines, line), slot);
    }

    void slotOperations() {
        const QStringList none;
        QCOMPARE(appendKeyword(none, "a"), QStringList{"a"});
        QCOMPARE(appendKeyword(QStringList{""}, "a"), QStringList{"a"});
        QCOMPARE(appendKeyword(QStringList{"a", ""}, "b"), (QStringList{"a", "", "b"}));
        QCOMPARE(fillKeywordSlot(none, 1, "a"), QStringList{"a"});
        QCOMPARE(fillKeywordSlot(QStringList{"a", ""}, 2, "b"), (QStringList{"a", "b"}));
        // Before a placeholder the page ends with two slots.
        QCOMPARE(insertKeywordBefore(none, 1, "a"), (QStringList{"a", ""}));
        QCOMPARE(insertKeywordBefore(QStringList{"a", "c"}, 2, "b"), (QStringList{"a", "b", "c"}));
        QCOMPARE(removeKeyword(QStringList{"a", "b", "c"}, 1), (QStringList{"b", "c"}));
        QCOMPARE(removeKeyword(QStringList{"a"}, 1), QStringList{});
        QCOMPARE(removeKeyword(QStringList{"a"}, 2), QStringList{"a"});
    }
};

QTEST_MAIN(TestEntryLogic)
#include "tst_entrylogic.moc"
