// What a page's HTML keeps of the page: shading of paragraphs and cells, merged table cells
// and raised or lowered text, as word processors write them in RTF.
#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

namespace {

QString pageHtml(const QByteArray& body) {
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" + body + "}";
    return quillo::rtf::rtfToHtml(rtf, {}).html;
}

} // namespace

class TestPageHtml : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void pageLooks_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("paragraph background")
            << QByteArray("\\pard\\cbpat1 red\\par\\pard plain\\par")
            << QStringList{QStringLiteral("<p style=\"background-color:#ff0000;\">"),
                           QStringLiteral("<p><span")}
            << QStringList{};
        QTest::newRow("shading of black over white")
            << QByteArray("\\pard\\shading2000 grey\\par")
            << QStringList{QStringLiteral("background-color:#cccccc;")} << QStringList{};
        QTest::newRow("pattern colour over background")
            << QByteArray("\\pard\\cbpat1\\cfpat2\\shading5000 mixed\\par")
            << QStringList{QStringLiteral("background-color:#800080;")} << QStringList{};
        QTest::newRow("no shading") << QByteArray("\\pard\\shading0 plain\\par") << QStringList{}
                                    << QStringList{QStringLiteral("background-color")};
        QTest::newRow("cell background")
            << QByteArray(
                   "\\trowd\\clcbpat2\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row"
                   "\\pard after\\par")
            << QStringList{QStringLiteral("<tr><td style=\"background-color:#0000ff\"><p>"),
                           QStringLiteral("</td><td><p>")}
            << QStringList{};
        QTest::newRow("cells merged across")
            << QByteArray("\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000"
                          "\\pard\\intbl A\\cell\\cell B\\cell\\row\\pard after\\par")
            << QStringList{QStringLiteral("<tr><td colspan=\"2\"><p>")}
            << QStringList{QStringLiteral("<td><br>"), QStringLiteral("<td><p><br>")};
        QTest::newRow("cells merged down")
            << QByteArray("\\trowd\\clvmgf\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row"
                          "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl\\cell C\\cell\\row"
                          "\\trowd\\cellx1000\\cellx2000\\pard\\intbl D\\cell E\\cell\\row"
                          "\\pard after\\par")
            << QStringList{QStringLiteral("<tr><td rowspan=\"2\"><p>")}
            << QStringList{QStringLiteral("rowspan=\"3\"")};
        QTest::newRow("raised") << QByteArray("\\pard a{\\up6 up}b\\par")
                                << QStringList{QStringLiteral("vertical-align:3pt\">up")}
                                << QStringList{QStringLiteral("<sup>")};
        QTest::newRow("lowered") << QByteArray("\\pard a{\\dn4 down}b\\par")
                                 << QStringList{QStringLiteral("vertical-align:-2pt\">down")}
                                 << QStringList{};
        QTest::newRow("plain ends the raise")
            << QByteArray("\\pard \\up6 a\\plain b\\par")
            << QStringList{QStringLiteral("vertical-align:3pt\">a")}
            << QStringList{QStringLiteral("vertical-align:3pt\">ab")};
    }
    void pageLooks() {
        QFETCH(QByteArray, rtf);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        const QString html = pageHtml(rtf);
        for (const QString& part : present)
            QVERIFY2(html.contains(part), qPrintable(part + QStringLiteral("\n") + html));
        for (const QString& part : absent)
            QVERIFY2(!html.contains(part), qPrintable(part + QStringLiteral("\n") + html));
    }

    // In the editor's document the paragraph's shading and the raised text show, and they are
    // written back when the page is saved, so the page file keeps them after an edit.
    void shadingAndRaiseThroughTheEditor() {
        QTextDocument doc;
        quillo::rtf::readRtf("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}"
                             "\\pard\\cbpat1 red {\\up6 up}\\par\\pard plain\\par}",
                             doc);
        const QTextBlock first = doc.begin();
        QCOMPARE(first.blockFormat().background().color(), QColor(255, 0, 0));
        QVERIFY(!first.next().blockFormat().hasProperty(QTextFormat::BackgroundBrush));
        bool raised = false;
        for (auto it = first.begin(); !it.atEnd(); ++it)
            if (it.fragment().text() == QLatin1String("up"))
                raised = it.fragment().charFormat().baselineOffset() > 0;
        QVERIFY(raised);

        const QByteArray saved = quillo::rtf::writeRtf(doc);
        const QString html = quillo::rtf::rtfToHtml(saved, {}).html;
        QVERIFY2(html.contains(QStringLiteral("<p style=\"background-color:#ff0000;\">")),
                 qPrintable(html));
        QVERIFY2(html.contains(QStringLiteral("vertical-align:3pt\">up")), qPrintable(html));
        QVERIFY2(html.contains(QStringLiteral("<p><span style=\"font-family")) ||
                     html.contains(QStringLiteral("<p><span style=\"font-size")),
                 qPrintable(html)); // the plain paragraph has no background
    }

    // A cell's colour shows in the editor and stays when the page is saved again; cells a
    // table merges in the editor (a pasted table) are saved merged, and the page's HTML spans
    // them.
    void tableCellsThroughTheEditor() {
        QTextDocument doc;
        quillo::rtf::readRtf("{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}"
                             "\\trowd\\clcbpat1\\cellx1000\\cellx2000"
                             "\\pard\\intbl blue\\cell white\\cell\\row\\pard after\\par}",
                             doc);
        QTextTable* table = nullptr;
        for (QTextFrame* frame : doc.rootFrame()->childFrames())
            table = table ? table : qobject_cast<QTextTable*>(frame);
        QVERIFY(table);
        QCOMPARE(table->cellAt(0, 0).format().background().color(), QColor(0, 0, 255));
        QVERIFY(!table->cellAt(0, 1).format().hasProperty(QTextFormat::BackgroundBrush));
        QString html = quillo::rtf::rtfToHtml(quillo::rtf::writeRtf(doc), {}).html;
        QVERIFY2(html.contains(QStringLiteral("<tr><td style=\"background-color:#0000ff\"><p>")),
                 qPrintable(html));
        QVERIFY2(html.contains(QStringLiteral("</td><td><p>")), qPrintable(html));

        QTextDocument pasted;
        pasted.setHtml(QStringLiteral("<table><tr><td>a</td><td>b</td><td>c</td></tr>"
                                      "<tr><td colspan=2>wide</td><td rowspan=2>tall</td></tr>"
                                      "<tr><td>d</td><td>e</td></tr></table>"));
        html = quillo::rtf::rtfToHtml(quillo::rtf::writeRtf(pasted), {}).html;
        QVERIFY2(html.contains(QStringLiteral("<td colspan=\"2\"><p>")), qPrintable(html));
        QVERIFY2(html.contains(QStringLiteral("<td rowspan=\"2\"><p>")), qPrintable(html));
        QCOMPARE(html.count(QStringLiteral("<td")), 7);
        QCOMPARE(quillo::rtf::writeHtml(pasted, {}).html.count(QStringLiteral("<td")), 7);
    }
};

QTEST_MAIN(TestPageHtml)
#include "tst_pagehtml.moc"
