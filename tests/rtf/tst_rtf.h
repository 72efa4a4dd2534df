#pragma once

#include "support/pictures.h"

#include <QByteArray>
#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCharFormat>

class QTextDocument;

// The RTF engine's test: reading (tst_rtf.cpp), writing RTF and HTML (tst_rtfwriter.cpp), tables
// (tst_rtftables.cpp) and pages that are costly to show (tst_rtfhostile.cpp).
namespace rtftest {

QString dataPath(const QString& name);
QByteArray readData(const QString& name);
QStringList fixtures();
QStringList snapshot(const QTextDocument& doc);
QTextCharFormat formatAt(const QTextDocument& doc, const QString& text);
QTextBlock blockWith(const QTextDocument& doc, const QString& text);
using quillo::test::pngBytes;
QString stripTags(QString html);

} // namespace rtftest

class TestRtf : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fixtureText_data();
    void fixtureText();
    void richEditPage();
    void wordAndLibreOfficeLists();
    void pictures();
    void manyPicturesStaySmall_data();
    void manyPicturesStaySmall();
    void largePagesLoadQuickly_data();
    void largePagesLoadQuickly();
    void slicedLoadPausesBetweenParagraphs_data();
    void slicedLoadPausesBetweenParagraphs();
    void paragraphFormats_data();
    void paragraphFormats();
    void decoding_data();
    void decoding();
    void malformed_data();
    void malformed();
    void roundTrip_data();
    void roundTrip();
    void writerOutput();
    void foundryNotWritten();
    void editedDocumentRoundTrip();
    void html_data();
    void html();
    void htmlFromEditedDocument();
    void htmlRunsOfManyStyles();
    void problems_data();
    void problems();
    void libreOfficeReadsOurRtf();
    // tst_rtftables.cpp
    void tables_data();
    void tables();
    void pastedTableRoundTrip();
    void headingSizes_data();
    void headingSizes();
    // tst_rtfhostile.cpp
    void extremeSizesAreLimited_data();
    void extremeSizesAreLimited();
    void longWordsWrapAnywhere_data();
    void longWordsWrapAnywhere();
    void longTablesKeepEveryCell_data();
    void longTablesKeepEveryCell();
    void forgedPicturesAreBoxes_data();
    void forgedPicturesAreBoxes();
    void tallPicturesKeepThePageShort();
    void tooTallPagesAreCut_data();
    void tooTallPagesAreCut();
    void shadedCellsOfLongTables();
    void longTablesShowInParts_data();
    void longTablesShowInParts();
    void partsOfALongTableLookLikeOne();

private:
    QTemporaryDir tmp_;
};
