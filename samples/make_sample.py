#!/usr/bin/env python3
"""Builds sample.qzd, the small help file the README's run command opens. The page text is
RTF in the form a Windows rich-edit control writes it (code page 932 bytes as \\'hh pairs,
a font table with charset 128, \\pn bullets), so the sample is what real files look like.
Run from this folder: python3 make_sample.py"""

FONTS = (r"{\fonttbl{\f0\fnil\fcharset128 \'82\'6c\'82\'72 \'82\'6f\'83\'53\'83\'56\'83\'62\'83\'4e;}"
         r"{\f1\fnil\fcharset128 \'82\'6c\'82\'72 \'82\'6f\'96\'be\'92\'a9;}"
         r"{\f2\fnil\fcharset2 Symbol;}{\f3\fswiss\fcharset0 Arial;}}")
COLORS = r"{\colortbl ;\red0\green0\blue128;\red192\green0\blue0;\red0\green128\blue0;}"


def esc(text):
    """Text as a rich-edit control writes it: ASCII as is, everything else as \\'hh."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 0x80:
            out.append(ch)
        else:
            out.extend("\\'%02x" % b for b in ch.encode("cp932"))
    return "".join(out)


def page(*paragraphs):
    body = []
    for kind, text in paragraphs:
        if kind == "h":
            body.append(r"\pard\cf1\b\f0\fs28 " + esc(text) + r"\cf0\b0\fs20\par")
        elif kind == "p":
            body.append(r"\pard\f0\fs20 " + esc(text) + r"\par")
        elif kind == "i":
            body.append(r"\pard\li400\f0\fs20 " + esc(text) + r"\par")
        elif kind == "b":
            body.append(r"\pard{\pntext\f2\'b7\tab}{\*\pn\pnlvlblt\pnf2\pnindent0{\pntxtb\'b7}}"
                        r"\fi-200\li200\f0\fs20 " + esc(text) + r"\par")
        elif kind == "r":
            body.append(r"\pard\cf2\f1\fs20 " + esc(text) + r"\cf0\par")
        elif kind == "e":
            body.append(r"\pard\f3\fs20 " + esc(text) + r"\f0\par")
    rtf = (r"{\rtf1\ansi\ansicpg932\deff0\deflang1033\deflangfe1041" + FONTS + "\r\n" + COLORS +
           "\r\n" + r"\viewkind4\uc1" + "\r\n".join(body) + "\r\n}\r\n\x00")
    return rtf.encode("ascii")


PAGES = [
    ("はじめに", ["Quillo32", "はじめに"], page(
        ("h", "Quillo32 サンプルヘルプ"),
        ("p", "このファイルは Quillo32 のサンプルヘルプです。"),
        ("p", "左の「目次」と「ｷｰﾜｰﾄﾞ」からページを選んでください。"),
        ("b", "目次：ページのタイトルの一覧です。"),
        ("b", "ｷｰﾜｰﾄﾞ：キーワードの五十音順の一覧です。"),
        ("e", "Quillo32 shows help files written with Quillo32Maker."))),
    ("画面の見方", ["目次", "ｷｰﾜｰﾄﾞ", "画面"], page(
        ("h", "画面の見方"),
        ("p", "画面の上に検索文字の入力欄があります。"),
        ("i", "左側：目次とｷｰﾜｰﾄﾞのタブ"),
        ("i", "右側：ページの本文"),
        ("p", "リストと本文の境目（ｽﾘｯﾄ）の上部をドラッグするとリスト幅を変えられます。"))),
    ("検索", ["検索", "最初から検索"], page(
        ("h", "文字を探す"),
        ("p", "検索文字を入力して「検索」を押します。大文字と小文字は区別しません。"),
        ("b", "「最初から検索」にチェックすると最初のページから探します。"),
        ("b", "本文をクリックすると、その位置から続けて探します。"),
        ("r", "注意：検索文字は32文字までです。"))),
    ("印刷", ["印刷", "表示ﾍﾟｰｼﾞ印刷"], page(
        ("h", "印刷"),
        ("p", "「印刷」メニューから、表示中のページまたはすべてのページを印刷できます。"),
        ("p", "各ページの先頭にはファイル名とページ番号が入ります。"))),
    (None, ["ｷｰﾜｰﾄﾞ", "Quillo32"], page(
        ("h", "目次にないページ"),
        ("p", "このページには目次のタイトルがありません。"),
        ("p", "ｷｰﾜｰﾄﾞからは選べます。"))),
]


def hexf(value, width, bits=16):
    return ("%X" % (value & ((1 << bits) - 1))).rjust(width, "0")[-width:].encode()


def counted(text):
    return hexf(len(text), 4) + text.encode("cp932")


def main():
    out = b"qzd32mk Ver2.01 " + hexf(0x00F0FFFF, 8, 32)  # a light cream page background
    for v in (1200, 1500, 7200, 10500, 2400):
        out += hexf(v, 4)
    out += b"0" + b"0" + b"34" + b"1234" * 7 + hexf(len(PAGES), 4)
    for title, keywords, _ in PAGES:
        out += b"12345678" * 2
        out += b"00" if title is None else b"01" + counted(title)
        out += hexf(len(keywords), 2) + b"".join(counted(k) for k in keywords)
    for _, _, rtf in PAGES:
        out += hexf(len(rtf), 8, 32) + rtf
    with open("sample.qzd", "wb") as f:
        f.write(out)


main()
