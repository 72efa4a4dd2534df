#include "core/keywords.h"

#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace quillo;

class TestKeywords : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void order() {
        auto doc = std::make_unique<HelpDocument>();
        doc->pages.resize(12);
        auto add = [&](int page, const QString& word) { doc->page(page).keywords.append(word); };
        add(12, QStringLiteral("印刷"));
        add(3, QStringLiteral("印刷"));
        add(1, QStringLiteral("beta"));
        add(2, QStringLiteral("Alpha"));
        add(5, QStringLiteral("alpha"));
        add(5, QString()); // empty keywords are not listed
        add(7, QStringLiteral("alpha beta"));
        add(4, QStringLiteral("あいう"));
        add(6, QStringLiteral("かき"));
        const QList<KeywordEntry> entries = sortedKeywordEntries(*doc);
        QStringList lines;
        for (const KeywordEntry& e : entries)
            lines << QStringLiteral("%1/%2").arg(e.keyword).arg(e.page);
        // Case is ignored; equal keywords come in page order; a keyword sorts before longer
        // ones it begins; kana in syllabary order; the same keyword on pages 12 and 3 gives
        // page 3 first.
        const QStringList expected{QStringLiteral("Alpha/2"),      QStringLiteral("alpha/5"),
                                   QStringLiteral("alpha beta/7"), QStringLiteral("beta/1"),
                                   QStringLiteral("あいう/4"),     QStringLiteral("かき/6"),
                                   QStringLiteral("印刷/3"),       QStringLiteral("印刷/12")};
        QCOMPARE(lines, expected);
    }
    // The order of a sorted list box for keywords mixing Japanese and ASCII, one keyword a
    // page: blanks and punctuation, then digits, Latin letters without regard to width, case
    // or (first) accents, kana in syllabary order with hiragana, katakana and half-width
    // katakana of one reading together, kanji last. A trailing blank makes no difference,
    // so "alpha" and "alpha " stay in page order.
    void mixedJapaneseAndAscii() {
        const QStringList words{
            QStringLiteral("印刷"),       QStringLiteral("いんさつ"),   QStringLiteral("インサツ"),
            QStringLiteral("ｲﾝｻﾂ"),       QStringLiteral("かき"),       QStringLiteral("がき"),
            QStringLiteral("カキ"),       QStringLiteral("かー"),       QStringLiteral("かあ"),
            QStringLiteral("Ａlpha"),     QStringLiteral("alpha"),      QStringLiteral("ALPHA"),
            QStringLiteral("alpha "),     QStringLiteral("alpha-beta"), QStringLiteral("alphabet"),
            QStringLiteral("alpha beta"), QStringLiteral("10"),         QStringLiteral("9"),
            QStringLiteral("１０"),       QStringLiteral("_under"),     QStringLiteral("(括弧)"),
            QStringLiteral("Zebra"),      QStringLiteral("zebra1"),     QStringLiteral("é"),
            QStringLiteral("e"),          QStringLiteral("ファイル"),   QStringLiteral("ﾌｧｲﾙ"),
            QStringLiteral("ふぁいる"),   QStringLiteral("文字列"),     QStringLiteral("文字"),
            QStringLiteral("検索"),       QStringLiteral("キーワード")};
        auto doc = std::make_unique<HelpDocument>();
        for (const QString& word : words)
            doc->pages.append(HelpPage{QByteArray(), std::nullopt, {word}});
        QStringList lines;
        for (const KeywordEntry& e : sortedKeywordEntries(*doc))
            lines << QStringLiteral("%1/%2").arg(e.keyword).arg(e.page);
        const QStringList expected{QStringLiteral("_under/20"),     QStringLiteral("(括弧)/21"),
                                   QStringLiteral("10/17"),         QStringLiteral("１０/19"),
                                   QStringLiteral("9/18"),          QStringLiteral("Ａlpha/10"),
                                   QStringLiteral("alpha/11"),      QStringLiteral("ALPHA/12"),
                                   QStringLiteral("alpha /13"),     QStringLiteral("alpha beta/16"),
                                   QStringLiteral("alpha-beta/14"), QStringLiteral("alphabet/15"),
                                   QStringLiteral("e/25"),          QStringLiteral("é/24"),
                                   QStringLiteral("Zebra/22"),      QStringLiteral("zebra1/23"),
                                   QStringLiteral("いんさつ/2"),    QStringLiteral("インサツ/3"),
                                   QStringLiteral("ｲﾝｻﾂ/4"),        QStringLiteral("かー/8"),
                                   QStringLiteral("かあ/9"),        QStringLiteral("かき/5"),
                                   QStringLiteral("カキ/7"),        QStringLiteral("がき/6"),
                                   QStringLiteral("キーワード/32"), QStringLiteral("ファイル/26"),
                                   QStringLiteral("ﾌｧｲﾙ/27"),       QStringLiteral("ふぁいる/28"),
                                   QStringLiteral("印刷/1"),        QStringLiteral("検索/31"),
                                   QStringLiteral("文字/30"),       QStringLiteral("文字列/29")};
        QCOMPARE(lines, expected);
    }
};

QTEST_MAIN(TestKeywords)
#include "tst_keywords.moc"
