#!/usr/bin/env python3
"""Writes the huge pages the load and conversion measurements use, as an RTF file or as a
one-page help file (.qzd) the viewer opens.

  make_big_pages.py paragraphs N OUT   N one-letter paragraphs (1,000,000 make about 6 MB)
  make_big_pages.py bytes N OUT        about N bytes of formatted text as a word processor
                                       writes it: Japanese and ASCII, bold runs, colours,
                                       bullets, a few hundred characters a paragraph

OUT ending in .qzd gets a help file, anything else the bare RTF."""

import random
import sys

HEAD = (b"{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
        b"\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}"
        b"{\\f1\\fswiss Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;"
        b"\\red0\\green0\\blue128;}\r\n\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 ")


def paragraphs(count):
    return HEAD + b"a\\par\n" * count + b"}\r\n"


def formatted(size):
    rnd = random.Random(16)
    words = [w.encode("cp932") for w in
             ["ヘルプ", "ページ", "検索", "目次", "キーワード", "印刷", "表示", "設定"]]
    ascii_words = [b"Quillo", b"page", b"help", b"text", b"viewer", b"window", b"file"]
    out = [HEAD]
    total = len(HEAD)
    while total < size:
        para = []
        if rnd.random() < 0.2:
            para.append(b"{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0"
                        b"{\\pntxtb\\'b7}}\\fi-200\\li200 ")
        for _ in range(rnd.randint(20, 60)):
            r = rnd.random()
            if r < 0.5:
                word = rnd.choice(words)
                para.append(b"".join(b"\\'%02x" % c for c in word))
            else:
                para.append(rnd.choice(ascii_words) + b" ")
            if r < 0.08:
                para.append(b"\\b " + rnd.choice(ascii_words) + b"\\b0 ")
            elif r < 0.12:
                para.append(b"\\cf1 " + rnd.choice(ascii_words) + b"\\cf0 ")
        para.append(b"\\par\r\n\\pard ")
        chunk = b"".join(para)
        out.append(chunk)
        total += len(chunk)
    out.append(b"}\r\n")
    return b"".join(out)


def hexf(value, width):
    return ("%X" % value).rjust(width, "0").encode()


def help_file(rtf):
    # Header: tag, background, top, left, height, width, list width, flags, then one page
    # without title or keywords, then its body.
    header = (b"qzd32mk Ver2.01 " + hexf(0x80000005, 8) + hexf(300, 4) + hexf(400, 4) +
              hexf(7000, 4) + hexf(9500, 4) + hexf(2500, 4) + b"00" + b"34" + b"1234" * 7 +
              hexf(1, 4))
    record = b"12345678" * 2 + b"00" + b"00"
    return header + record + hexf(len(rtf) + 1, 8) + rtf + b"\x00"


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("paragraphs", "bytes"):
        sys.exit(__doc__)
    n = int(sys.argv[2])
    rtf = paragraphs(n) if sys.argv[1] == "paragraphs" else formatted(n)
    data = help_file(rtf) if sys.argv[3].endswith(".qzd") else rtf
    with open(sys.argv[3], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
