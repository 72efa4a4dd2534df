#include "maker/entries/entrytexts.h"

#include "core/helpdocument.h"
#include "core/text.h"

namespace quillo::maker::entrytexts {

namespace {
const QString BlankLine = QStringLiteral("\n\n");
}

QString contentsSetTitle() {
    return QStringLiteral("qzd32Maker 目次設定");
}
QString contentsChangeTitle() {
    return QStringLiteral("qzd32Maker 目次変更");
}
QString keywordSetTitle() {
    return QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ設定");
}
QString keywordAddTitle() {
    return QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ追加");
}
QString newKeywordTitle() {
    return QStringLiteral("qzd32Maker 新規ｷｰﾜｰﾄﾞ追加");
}
QString keywordInsertTitle() {
    return QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ挿入");
}
QString keywordChangeTitle() {
    return QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ変更");
}
QString keywordDeleteTitle() {
    return QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ削除");
}
QString entryLimitTitle() {
    return QStringLiteral("qzd32Maker 目次／キー設定（最大") + numberText(MaxEntryLength) +
           QStringLiteral("文字）");
}

QString selectTitleTextText() {
    return QStringLiteral("目次設定するテキストを選択して下さい。");
}
QString selectKeywordTextText() {
    return QStringLiteral("キー設定するテキストを選択して下さい。");
}
QString longSelectionTitleQuestion(const QString& candidate) {
    return QStringLiteral("選択テキストが長すぎます。以下の先頭32文字を目次設定します。") +
           BlankLine + QStringLiteral("【") + candidate + QStringLiteral("】");
}
QString longDropTitleQuestion(const QString& candidate) {
    return QStringLiteral("選択テキストが長すぎます。\n以下の先頭32文字(改行コードは削除)を目次設定"
                          "します。") +
           BlankLine + QStringLiteral("【") + candidate + QStringLiteral("】");
}
QString longSelectionKeywordQuestion(const QString& candidate) {
    return QStringLiteral("選択テキストが長すぎます。以下の先頭32文字をキー設定します。") +
           BlankLine + QStringLiteral("【 ") + candidate + QStringLiteral(" 】");
}
QString longDropKeywordQuestion(const QString& candidate) {
    return QStringLiteral("選択テキストが長すぎます。\n以下の先頭32文字(改行コードは削除)をキー設定"
                          "します。") +
           BlankLine + QStringLiteral("【 ") + candidate + QStringLiteral(" 】");
}
QString replaceTitleQuestion(const QString& oldTitle, const QString& newTitle) {
    return QStringLiteral("このページの目次を 【") + oldTitle + QStringLiteral("】 → 【") +
           newTitle + QStringLiteral("】 に変更します。");
}
QString selectTitleToChangeText() {
    return QStringLiteral("変更する目次を選択してください。");
}

QString keywordLimitText() {
    return QStringLiteral("１ページの最大キーワード数は、") + numberText(MaxKeywordsPerPage) +
           QStringLiteral("個です。");
}
QString keywordInsertLimitText() {
    return QStringLiteral("１頁の最大キーワード数は") + numberText(MaxKeywordsPerPage) +
           QStringLiteral("個です。");
}
QString sameKeywordQuestion(int page) {
    return numberText(page) + QStringLiteral("ページに同じキーワードが有ります。追加しますか。");
}
QString sameDroppedKeywordQuestion(int page, const QString& keyword) {
    return numberText(page) + QStringLiteral("ページに同じキーワード 【") + keyword +
           QStringLiteral("】 が有ります。追加しますか。");
}
QString selectKeywordToChangeText() {
    return QStringLiteral("変更するキーワードを選択してください。");
}
QString noKeywordToDeleteText() {
    return QStringLiteral("削除するキーワードがありません。");
}
QString selectKeywordToDeleteText() {
    return QStringLiteral("削除するキーワードを選択してください。");
}
QString deleteKeywordQuestion(const QString& lineStart, const QString& keyword) {
    const QString shown = keyword.isEmpty()
                              ? QStringLiteral("【        】")
                              : QStringLiteral("【 ") + keyword + QStringLiteral(" 】");
    return lineStart + shown + QStringLiteral(" を削除します。");
}

QString entryTooLongText() {
    return QStringLiteral("設定文字列は最大") + numberText(MaxEntryLength) +
           QStringLiteral("文字です。先頭") + numberText(MaxEntryLength) +
           QStringLiteral("文字を設定文字列とします。");
}
QString dropTooLongQuestion(int room) {
    return QStringLiteral("選択テキストが長すぎます。先頭文字列") + numberText(room) +
           QStringLiteral("文字を挿入します。");
}
QString unstorableCharacterText(const QString& character) {
    return QStringLiteral("「") + character +
           QStringLiteral(
               "」はヘルプファイルに保存できない文字です。この文字を除いて設定して下さい。");
}

} // namespace quillo::maker::entrytexts
