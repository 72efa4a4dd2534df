#pragma once

#include <QByteArray>
#include <QList>

// A deterministic corpus of help pages as a Windows rich-edit control writes them: 100 pages of
// 5-60 KB with Japanese (\'hh pairs) and ASCII text, several fonts and colours, bold runs,
// bullets, indents and a PNG picture on every fifth page; and one page of about 500 KB.
namespace quillo::bench {

QList<QByteArray> corpusPages();
QByteArray largePage();

} // namespace quillo::bench
