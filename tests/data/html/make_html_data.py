#!/usr/bin/env python3
"""Writes the expected navigation pages of the HTML site test, straight from the page
templates: code page 932, CR LF after every line.

The document (saved as a.b.qzd, so the base name is "a"): 12 pages; every page n has the
contents title "第n章" except pages 2 and 5, which have none. Keywords:
page 1: "apple" and an empty one, page 3: "索引", page 4: "Banana", page 6: "APRICOT",
page 7: the 32-character "abcdefghijklmnopqrstuvwxyz012345", page 12: "索引".
List width 2005 twips. Written twice: with the system colour "window" (plain) and with the
light blue 0x00FFC0C0 (blue): no bgcolor lines in the first, "#C0C0FF" in the second.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
BASE = "a"
PAGES = 12
TITLES = {n: "第%d章" % n for n in range(1, PAGES + 1) if n not in (2, 5)}
# The keyword page's order: case-insensitive, equal keywords by page.
KEYWORDS = [
    ("abcdefghijklmnopqrstuvwxyz012345", 7),
    ("apple", 1),
    ("APRICOT", 6),
    ("Banana", 4),
    ("索引", 3),
    ("索引", 12),
]
CHARSET = '<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">'


def colour_line(colour):
    return ['<body bgcolor="#%s">' % colour] if colour else []


def start(colour):
    return (["<html>", "<head>", CHARSET, "<title>a_index</title>", "</head>",
             '<frameset cols=" 200,*">',
             '<frame src="a_conts.htm" Name = "qzd_left" Scrolling = "auto" MarginWidth = "10">',
             '<frame src="a_1.htm" Name = "qzd_right" Scrolling = "auto">',
             "<noframes>"] + colour_line(colour) +
            ["</body>", "</noframes>", "</frameset>", "</html>"])


def link(n, text):
    return '<a href="a_%d.htm" Target = "qzd_right">%s</a><BR>' % (n, text)


def contents(colour):
    lines = ["<html>", "<head>", CHARSET, "<title>a_contents</title>", "</head>",
             '<BODY LINK="#0000ff" VLINK="#008000">', "<CENTER>",
             '<FORM action="a_keys.htm" target="qzd_left">',
             '<input type="submit"value="キーワード表示へ">', "</FORM>",
             "<B>\u3000目次\u3000</B><P>", "</CENTER>"] + colour_line(colour)
    for n in range(1, PAGES + 1):
        lines.append(link(n, "p%2d  %s" % (n, TITLES.get(n, ""))))
    return lines + ["</body>", "</html>"]


def keys(colour):
    lines = ["<html>", "<head>", CHARSET, "<title>a_keys</title>", "</head>",
             '<BODY LINK="#0000ff" VLINK="#008000">', '<A NAME="akey_top"></A> ', "<CENTER>",
             '<FORM action="a_conts.htm" target="qzd_left">',
             '<input type="submit"value="\u3000目次表示へ\u3000">', "</FORM>",
             "<B>キーワード</B><P>", "</CENTER>"] + colour_line(colour)
    for word, n in KEYWORDS:
        lines.append(link(n, word))
    return lines + ["<P>", "<CENTER>", '<A HREF="#akey_top"><B>先頭へ戻る</B></A> ',
                    "</body>", "</html>"]


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


for folder, colour in (("plain", None), ("blue", "C0C0FF")):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    write(os.path.join(folder, "a_index.htm"), start(colour))
    write(os.path.join(folder, "a_conts.htm"), contents(colour))
    write(os.path.join(folder, "a_keys.htm"), keys(colour))
