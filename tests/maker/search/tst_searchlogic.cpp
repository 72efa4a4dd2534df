#include "maker/search/searchlogic.h"
#include "rtf/rtfreader.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillo;
using namespace quillo::maker;

Q_DECLARE_METATYPE(FindOutcome::Kind)

namespace {

FindOutcome find(const QStringList& pages, const QString& needle, bool matchCase, bool up, int page,
                 int position) {
    FindRequest request;
    request.needle = needle;
    request.matchCase = matchCase;
    request.direction = up ? SearchDirection::Up : SearchDirection::Down;
    request.page = page;
    request.position = position;
    return findAcrossPages(request, int(pages.size()), [&pages](int p) { return pages.at(p - 1); });
}

} // namespace

class TestSearchLogic : public QObject {
    Q_OBJECT
private slots:
    void findRun_data() {
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("position");
        QTest::addColumn<FindOutcome::Kind>("kind");
        QTest::addColumn<int>("foundPage");
        QTest::addColumn<int>("foundAt");

        const QStringList three{"alpha word", "beta gamma", "delta"};
        QTest::newRow("down passes the later pages, never wraps to page 1")
            << three << "word" << false << false << 2 << 3 << FindOutcome::NotFound << 0 << -1;
        QTest::newRow("down continues at the top of the next page")
            << QStringList{"one", "two word", "three"} << "word" << false << false << 1 << 2
            << FindOutcome::Found << 2 << 4;
        QTest::newRow("down takes a match at the start position")
            << QStringList{"word word"} << "word" << false << false << 1 << 0 << FindOutcome::Found
            << 1 << 0;
        QTest::newRow("down after the current match finds the next")
            << QStringList{"word word"} << "word" << false << false << 1 << 4 << FindOutcome::Found
            << 1 << 5;
        QTest::newRow("down from past the end of the page goes on")
            << QStringList{"abc", "abc"} << "abc" << false << false << 1 << 9 << FindOutcome::Found
            << 2 << 0;
        QTest::newRow("case off finds the capitals")
            << QStringList{"The WORD"} << "word" << false << false << 1 << 0 << FindOutcome::Found
            << 1 << 4;
        QTest::newRow("case on does not") << QStringList{"The WORD"} << "word" << true << false << 1
                                          << 0 << FindOutcome::NotFound << 0 << -1;
        QTest::newRow("up on page 1 with nothing before the caret")
            << QStringList{"xx word"} << "word" << false << true << 1 << 3 << FindOutcome::NotFound
            << 0 << -1;
        QTest::newRow("up takes the last match before the caret")
            << QStringList{"x ab ab ab"} << "ab" << false << true << 1 << 8 << FindOutcome::Found
            << 1 << 5;
        QTest::newRow("up skips a match that runs past the caret")
            << QStringList{"abab"} << "ab" << false << true << 1 << 3 << FindOutcome::Found << 1
            << 0;
        QTest::newRow("up moves to the end of the previous page")
            << QStringList{"ab cd ab", "cd"} << "ab" << false << true << 2 << 2
            << FindOutcome::Found << 1 << 6;
        QTest::newRow("Japanese text, case off")
            << QStringList{"検索と置換", "置換ﾃｷｽﾄ"} << "ﾃｷｽﾄ" << false << false << 1 << 0
            << FindOutcome::Found << 2 << 2;
    }
    void findRun() {
        QFETCH(QStringList, pages);
        QFETCH(QString, needle);
        QFETCH(bool, matchCase);
        QFETCH(bool, up);
        QFETCH(int, page);
        QFETCH(int, position);
        const FindOutcome outcome = find(pages, needle, matchCase, up, page, position);
        QTEST(outcome.kind, "kind");
        QTEST(outcome.page, "foundPage");
        QTEST(outcome.position, "foundAt");
    }

    // More than 100 matches met in one upward run stop it; the matches met are those of the
    // 500-position regions the run grew to before it found one.
    void upwardStop_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<FindOutcome::Kind>("kind");
        QTest::addColumn<int>("foundAt");
        QTest::newRow("100 matches") << QString("ab").repeated(100) << FindOutcome::Found << 198;
        QTest::newRow("101 matches")
            << QString("ab").repeated(101) << FindOutcome::TooManyMatches << -1;
        QTest::newRow("many, but far before the region of the last")
            << QString("ab").repeated(150) + QString(600, 'x') + "ab" << FindOutcome::Found << 900;
        QTest::newRow("many within one region after a long gap")
            << QString(1200, 'x') + QString("ab").repeated(120) + "x" << FindOutcome::TooManyMatches
            << -1;
    }
    void upwardStop() {
        QFETCH(QString, text);
        const FindOutcome outcome = find({text}, "ab", false, true, 1, int(text.size()));
        QTEST(outcome.kind, "kind");
        QTEST(outcome.position, "foundAt");
    }

    void replaceAll_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("result");
        QTest::newRow("replacement holds the search text")
            << "cat and cat"
            << "cat"
            << "cat cat" << false << 2 << "cat cat and cat cat";
        QTest::newRow("case off") << "Cat CAT cat"
                                  << "cat"
                                  << "dog" << false << 3 << "dog dog dog";
        QTest::newRow("case on") << "Cat CAT cat"
                                 << "cat"
                                 << "dog" << true << 1 << "Cat CAT dog";
        QTest::newRow("matches do not overlap") << "aaaaa"
                                                << "aa"
                                                << "b" << false << 2 << "bba";
        QTest::newRow("empty replacement deletes") << "a-b-c"
                                                   << "-"
                                                   << "" << false << 2 << "abc";
        QTest::newRow("across paragraphs") << "x1\nx2"
                                           << "x"
                                           << "y" << false << 2 << "y1\ny2";
        QTest::newRow("none") << "abc"
                              << "z"
                              << "y" << false << 0 << "abc";
    }
    void replaceAll() {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(QString, replacement);
        QFETCH(bool, matchCase);
        QTextDocument doc;
        doc.setPlainText(text);
        QTEST(replaceAllIn(doc, needle, replacement,
                           matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive),
              "count");
        QTEST(doc.toPlainText(), "result");
    }

    void replaceAllIsOneUndoStep() {
        QTextDocument doc;
        doc.setPlainText("one two one two one");
        QCOMPARE(replaceAllIn(doc, "one", "three", Qt::CaseInsensitive), 3);
        doc.undo();
        QCOMPARE(doc.toPlainText(), QString("one two one two one"));
    }

    void replaceAllInRtfKeepsFormatting() {
        const QByteArray rtf = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}"
                               "plain {\\b bold} word {\\cf1 red} word\\par}";
        const RtfReplacement replaced = replaceAllInRtf(rtf, "word", "w", Qt::CaseInsensitive);
        QCOMPARE(replaced.count, 2);
        QTextDocument doc;
        rtf::readRtf(replaced.rtf, doc);
        QCOMPARE(doc.toPlainText().trimmed(), QString("plain bold w red w"));
        QTextCursor cursor(&doc);
        cursor.setPosition(7); // inside "bold"
        QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
        cursor.setPosition(14); // inside "red"
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
        cursor.setPosition(18); // the second "w"
        QVERIFY(cursor.charFormat().fontWeight() < QFont::Bold);

        QCOMPARE(replaceAllInRtf(rtf, "absent", "x", Qt::CaseInsensitive).count, 0);
    }

    void longPage_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isLong");
        QTest::newRow("16000 ASCII") << QString(16000, 'a') << false;
        QTest::newRow("16001 ASCII") << QString(16001, 'a') << true;
        QTest::newRow("8000 kanji") << QString(8000, QChar(0x6F22)) << false;
        QTest::newRow("8001 kanji") << QString(8001, QChar(0x6F22)) << true;
        QTest::newRow("16001 half-width katakana") << QString(16001, QChar(0xFF71)) << true;
        QTest::newRow("12000 half-width katakana and 2000 kanji")
            << QString(12000, QChar(0xFF71)) + QString(2000, QChar(0x6F22)) << false;
    }
    void longPage() {
        QFETCH(QString, text);
        QTEST(isLongPage(text), "isLong");
    }

    void pageTextsFollowChangedPages() {
        PageTexts texts;
        const QByteArray first = "{\\rtf1 first\\par}";
        QCOMPARE(texts.text(3, first), rtf::plainText(first));
        const QByteArray second = "{\\rtf1 second\\par}";
        QCOMPARE(texts.text(3, second), rtf::plainText(second));
        QCOMPARE(texts.text(4, first), rtf::plainText(first));
    }
};

QTEST_MAIN(TestSearchLogic)
#include "tst_searchlogic.moc"
