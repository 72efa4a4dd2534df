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
};

QTEST_MAIN(TestKeywords)
#include "tst_keywords.moc"
