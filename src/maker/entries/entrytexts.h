#pragma once

#include <QString>

// The titles and texts of the messages about contents titles, keywords and the entry dialog.
namespace quillo::maker::entrytexts {

QString contentsSetTitle();    // "qzd32Maker 目次設定"
QString contentsChangeTitle(); // "qzd32Maker 目次変更"
QString keywordSetTitle();     // "qzd32Maker ｷｰﾜｰﾄﾞ設定"
QString keywordAddTitle();     // "qzd32Maker ｷｰﾜｰﾄﾞ追加"
QString newKeywordTitle();     // "qzd32Maker 新規ｷｰﾜｰﾄﾞ追加"
QString keywordInsertTitle();  // "qzd32Maker ｷｰﾜｰﾄﾞ挿入"
QString keywordChangeTitle();  // "qzd32Maker ｷｰﾜｰﾄﾞ変更"
QString keywordDeleteTitle();  // "qzd32Maker ｷｰﾜｰﾄﾞ削除"
QString entryLimitTitle();     // the entry dialog's length messages

QString selectTitleTextText();
QString selectKeywordTextText();
// The selection is too long: its first 32 characters become the entry.
QString longSelectionTitleQuestion(const QString& candidate);
QString longDropTitleQuestion(const QString& candidate);
QString longSelectionKeywordQuestion(const QString& candidate);
QString longDropKeywordQuestion(const QString& candidate);
QString replaceTitleQuestion(const QString& oldTitle, const QString& newTitle);
QString selectTitleToChangeText();

QString keywordLimitText();       // "１ページの最大キーワード数は、 64個です。"
QString keywordInsertLimitText(); // the insert routine's own wording
QString sameKeywordQuestion(int page);
QString sameDroppedKeywordQuestion(int page, const QString& keyword);
QString selectKeywordToChangeText();
QString noKeywordToDeleteText();
QString selectKeywordToDeleteText();
// `lineStart`: the first 5 characters of the keyword's list line.
QString deleteKeywordQuestion(const QString& lineStart, const QString& keyword);

QString entryTooLongText();
QString dropTooLongQuestion(int room);
// A character that a help file cannot store.
QString unstorableCharacterText(const QString& character);

} // namespace quillo::maker::entrytexts
